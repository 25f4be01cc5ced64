#include "DocumentParts.h"
#include "TestRecords.h"
#include "session/CutListEditor.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace kivo {
namespace {

class Editing : public ::testing::Test, protected test::DocumentParts {
protected:
    // Objects named by their paths /m/0.mpg, /m/1.mpg ...; `invalid` ones
    // carry the invalid state.
    void Fill(int count, std::initializer_list<int> invalid = {})
    {
        for (int i = 0; i < count; ++i) {
            const int flag = std::find(invalid.begin(), invalid.end(), i) != invalid.end() ? kFlagInvalid : kFlagValid;
            list.AddObject(test::Record(QStringLiteral("/m/%1.mpg").arg(i), 100 * (i + 1), flag), QImage(), false);
        }
        document.SetModified(false);
    }
    // The objects in list order, by the number in their paths.
    std::vector<int> Order() const
    {
        std::vector<int> order;
        for (int i = 0; i < list.GetItemCount(); ++i)
            order.push_back(list.GetItemPath(i).section('/', -1).section('.', 0, 0).toInt());
        return order;
    }

    CutListEditor editor{list, document, playback};
};

TEST_F(Editing, MovesPutAnObjectBelowATargetDownAndAboveOneUp)
{
    Fill(6);
    editor.MoveObject(1, 4);
    EXPECT_EQ(Order(), std::vector<int>({0, 2, 3, 4, 1, 5}));
    EXPECT_TRUE(document.IsModified());
    editor.MoveObject(4, 1);
    EXPECT_EQ(Order(), std::vector<int>({0, 1, 2, 3, 4, 5}));
    document.SetModified(false);
    editor.MoveObject(2, 2);   // onto itself
    editor.MoveObject(2, 40);  // a target that is gone
    EXPECT_EQ(Order(), std::vector<int>({0, 1, 2, 3, 4, 5}));
    EXPECT_FALSE(document.IsModified());
}

TEST_F(Editing, MovingAnObjectRefreshesTheSummaryOfWhatWasPlayed)
{
    Fill(3);  // 1, 2 and 3 seconds long
    for (int i = 0; i < list.GetItemCount(); ++i)
        cache.Add(test::Record(list.GetItemPath(i), 100 * (i + 1)));
    list.SetCurrent(list.GetItemData(2));
    QSignalSpy summaries(&document, &CutListDocument::summaryChanged);
    editor.MoveObject(2, 0);  // nothing before the current object any more
    ASSERT_EQ(summaries.count(), 1);
    EXPECT_EQ(summaries.at(0).at(0).toString(), "3個のｵﾌﾞｼﾞｪｸﾄ 0m06s 時間 0m00s（残り 0m06s）");
    editor.MoveObject(1, 1);  // no move, no refresh
    EXPECT_EQ(summaries.count(), 1);
}

TEST_F(Editing, DeletingInvalidOnesKeepsTheOthersAndDeletingTheCurrentOneStopsPlayback)
{
    Fill(5, {1, 3});
    EXPECT_TRUE(editor.HasInvalidItems());
    editor.DeleteInvalid();
    EXPECT_EQ(Order(), std::vector<int>({0, 2, 4}));
    EXPECT_TRUE(document.IsModified());
    EXPECT_FALSE(editor.HasInvalidItems());

    list.SetCurrent(list.GetItemData(1));
    editor.DeleteObject(0);  // another object: the current one stays
    EXPECT_EQ(list.FindCurrentItem(), 0);
    editor.DeleteObject(0);
    EXPECT_EQ(list.FindCurrentItem(), -1);
    EXPECT_EQ(Order(), std::vector<int>({4}));
    editor.DeleteObject(5);  // a menu target deleted meanwhile
    EXPECT_EQ(Order(), std::vector<int>({4}));

    editor.DeleteAll();
    EXPECT_FALSE(editor.HasItems());
}

TEST_F(Editing, RenamingAllMarksTheDocumentButOneObjectDoesNot)
{
    Fill(2);
    editor.RenameObject(0, CutListEditor::Naming::FileName);
    EXPECT_EQ(list.GetItemText(0, CutListModel::kColumnName), "0.mpg");
    EXPECT_FALSE(document.IsModified());
    editor.RenameAll(CutListEditor::Naming::Empty);
    EXPECT_EQ(list.GetItemText(1, CutListModel::kColumnName), "");
    EXPECT_TRUE(document.IsModified());
    editor.RenameAll(CutListEditor::Naming::FullPath);
    EXPECT_EQ(list.GetItemText(1, CutListModel::kColumnName), "/m/1.mpg");
}

TEST_F(Editing, SortsAlternateTheirDirectionAndShufflesFollowTheTable)
{
    Fill(3);
    editor.Sort(SortKey::MediaTime);
    EXPECT_EQ(Order(), std::vector<int>({0, 1, 2}));
    editor.Sort(SortKey::MediaTime);
    EXPECT_EQ(Order(), std::vector<int>({2, 1, 0}));
    editor.Sort(SortKey::Name);  // another key starts ascending
    EXPECT_EQ(Order(), std::vector<int>({0, 1, 2}));
    editor.Sort(SortKey::Name);
    editor.SortByNameAscending();
    EXPECT_EQ(Order(), std::vector<int>({0, 1, 2}));

    editor.Shuffle(4);
    EXPECT_EQ(Order(), std::vector<int>({2, 0, 1}));  // RandomOrder(4, 3), not that of seed 0
    EXPECT_TRUE(document.IsModified());
}

}  // namespace
}  // namespace kivo
