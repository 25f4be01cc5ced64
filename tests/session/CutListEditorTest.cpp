#include "DocumentParts.h"
#include "TestRecords.h"
#include "session/CutListEditor.h"

#include <QSignalSpy>

#include <functional>

#include <gtest/gtest.h>

namespace kivo {
namespace {

using Order = std::vector<int>;

class Editing : public ::testing::Test, protected test::DocumentParts {
protected:
    // Objects /m/0.mpg, /m/1.mpg ... of 1, 2 ... seconds, in the cache too;
    // `invalid` ones carry the invalid state.
    void Fill(int count, std::initializer_list<int> invalid = {})
    {
        for (int i = 0; i < count; ++i) {
            const int flag = std::find(invalid.begin(), invalid.end(), i) != invalid.end() ? kFlagInvalid : kFlagValid;
            list.AddObject(test::Record(QStringLiteral("/m/%1.mpg").arg(i), 100 * (i + 1), flag), QImage(), false);
            cache.Add(test::Record(QStringLiteral("/m/%1.mpg").arg(i), 100 * (i + 1)));
        }
        document.SetModified(false);
    }
    // The objects in list order, by the number in their paths.
    Order Objects() const
    {
        Order order;
        for (int i = 0; i < list.GetItemCount(); ++i)
            order.push_back(list.GetItemPath(i).section('/', -1).section('.', 0, 0).toInt());
        return order;
    }

    CutListEditor editor{list, document, playback};
};

// A move once left the summary of what was played as it was.
TEST_F(Editing, MovesPutAnObjectBelowATargetDownAndAboveOneUpAndRefreshTheSummary)
{
    Fill(6);
    list.SetCurrent(list.GetItemData(2));
    QSignalSpy summaries(&document, &CutListDocument::summaryChanged);
    editor.MoveObject(1, 4);
    EXPECT_EQ(std::pair(Objects(), document.IsModified()), std::pair(Order({0, 2, 3, 4, 1, 5}), true));
    editor.MoveObject(1, 0);  // nothing but 0 before the current object any more
    EXPECT_EQ(Objects(), Order({2, 0, 3, 4, 1, 5}));
    ASSERT_EQ(summaries.count(), 2);
    EXPECT_EQ(summaries.at(1).at(0).toString(), "6個のｵﾌﾞｼﾞｪｸﾄ 0m21s 時間 0m00s（残り 0m21s）");

    document.SetModified(false);
    editor.MoveObject(2, 2);   // onto itself
    editor.MoveObject(2, 40);  // a target that is gone
    EXPECT_EQ(std::tuple(Objects(), document.IsModified(), summaries.count()), std::tuple(Order({2, 0, 3, 4, 1, 5}), false, 2));
}

TEST_F(Editing, DeletingInvalidOnesKeepsTheOthersAndDeletingTheCurrentOneStopsPlayback)
{
    Fill(5, {1, 3});
    EXPECT_TRUE(editor.HasInvalidItems());
    editor.DeleteInvalid();  // which ones go is the model's (CutListModelTest)
    EXPECT_TRUE(document.IsModified() && !editor.HasInvalidItems());

    list.SetCurrent(list.GetItemData(1));
    editor.DeleteObject(0);  // another object: the current one stays
    EXPECT_EQ(list.FindCurrentItem(), 0);
    editor.DeleteObject(0);
    EXPECT_EQ(list.FindCurrentItem(), -1);
    editor.DeleteObject(5);  // a menu target deleted meanwhile
    EXPECT_EQ(Objects(), Order({4}));
}

TEST_F(Editing, RenamingAllOrSortingMarksTheDocumentButOneObjectDoesNot)
{
    Fill(3);
    editor.RenameObject(0, CutListEditor::Naming::FileName);
    EXPECT_TRUE(list.GetItemText(0, CutListModel::kColumnName) == "0.mpg" && !document.IsModified());
    editor.RenameAll(CutListEditor::Naming::Empty);
    EXPECT_TRUE(list.GetItemText(1, CutListModel::kColumnName).isEmpty() && document.IsModified());
    editor.RenameAll(CutListEditor::Naming::FullPath);
    EXPECT_EQ(list.GetItemText(1, CutListModel::kColumnName), "/m/1.mpg");

    // Sorts alternate their direction; another key starts ascending.
    editor.Sort(SortKey::MediaTime);
    editor.Sort(SortKey::MediaTime);
    EXPECT_EQ(Objects(), Order({2, 1, 0}));
    editor.Sort(SortKey::Name);
    EXPECT_EQ(Objects(), Order({0, 1, 2}));
    editor.Shuffle(4);
    EXPECT_EQ(Objects(), Order({2, 0, 1}));  // RandomOrder(4, 3), not that of seed 0
    // The random order is known as such until the order changes.
    EXPECT_TRUE(list.IsInRandomOrder());
    editor.DeleteObject(0);
    EXPECT_TRUE(list.IsInRandomOrder());
    for (const auto& change : std::initializer_list<std::function<void()>>{
             [&] { editor.Sort(SortKey::Name); }, [&] { list.MoveItem(0, 1); }, [&] { Fill(1); }}) {
        editor.Shuffle(4);
        change();
        EXPECT_FALSE(list.IsInRandomOrder());
    }
}

}  // namespace
}  // namespace kivo
