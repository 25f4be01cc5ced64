#include "TestRecords.h"
#include "cutlist/CutListModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace kivo {
namespace {

using test::Record;

MEDIARECORD Invalid(const QString& path)
{
    return Record(path, 0, kFlagInvalid);
}

// The slots of the items in list order.
std::vector<int> Slots(const CutListModel& list)
{
    std::vector<int> result;
    for (int position = 0; position < list.GetItemCount(); ++position)
        result.push_back(list.GetItemData(position));
    return result;
}

class CutList : public ::testing::Test {
protected:
    void Fill(int count)
    {
        for (int i = 0; i < count; ++i)
            list.AddObject(Record(QStringLiteral("/m/%1.mpg").arg(i)), QImage(), false);
    }

    CutListModel list;
    QAbstractItemModelTester tester{&list, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(CutList, AddingGivesEachObjectANewSlotAndItsTexts)
{
    list.AddObject(Record("/m/a.mpg"), QImage(), false);
    list.AddObject(Invalid("/m/b.mpg"), QImage(), true);
    EXPECT_EQ(list.GetImageCount(), 2);
    EXPECT_EQ(list.GetSlotPath(1), "/m/b.mpg");
    EXPECT_EQ(Slots(list), std::vector<int>({0, 1}));
    EXPECT_EQ(list.GetItemText(0, CutListModel::kColumnName), "/m/a.mpg");
    EXPECT_EQ(list.GetItemText(1, CutListModel::kColumnName), " ");
    // The other columns are the record's formatted texts.
    EXPECT_EQ(list.GetItemState(0), ObjectState::Standby);
    EXPECT_EQ(list.GetItemText(1, CutListModel::kColumnState), "無効");
    EXPECT_EQ(list.GetLargeImage(1).size(), QSize(64, 48));
    EXPECT_EQ(list.GetSmallImage(1).size(), QSize(32, 24));
}

TEST_F(CutList, DeletedSlotsStayUntilTheListIsCleared)
{
    Fill(3);
    list.DeleteItem(1);
    list.AddObject(Record("/m/new.mpg"), QImage(), false);
    EXPECT_EQ(Slots(list), std::vector<int>({0, 2, 3}));
    EXPECT_EQ(list.GetImageCount(), 4);
    EXPECT_EQ(list.GetSlotPath(1), "/m/1.mpg");
    EXPECT_EQ(list.FindItemByData(1), -1);
    EXPECT_EQ(list.FindItemByData(3), 2);
    EXPECT_EQ(list.GetItemPath(2), "/m/new.mpg");

    list.Clear();
    EXPECT_EQ(list.GetImageCount(), 0);
    list.AddObject(Record("/m/again.mpg"), QImage(), false);
    EXPECT_EQ(Slots(list), std::vector<int>({0}));
}

TEST_F(CutList, MovingCarriesTheObjectAndKeepsTheCurrentOneFound)
{
    Fill(6);
    list.SetCurrent(1);
    list.MoveItem(1, 4);
    EXPECT_EQ(Slots(list), std::vector<int>({0, 2, 3, 4, 1, 5}));
    EXPECT_EQ(list.FindCurrentItem(), 4);
    EXPECT_EQ(list.GetItemPath(4), "/m/1.mpg");
    list.MoveItem(4, 1);
    list.MoveItem(4, 1);
    EXPECT_EQ(Slots(list), std::vector<int>({0, 4, 1, 2, 3, 5}));

    list.ApplyOrder({5, 4, 3, 2, 1, 0});
    EXPECT_EQ(Slots(list), std::vector<int>({5, 3, 2, 1, 4, 0}));
    EXPECT_EQ(list.FindCurrentItem(), 3);
    for (int slot = 0; slot < 6; ++slot)
        EXPECT_EQ(list.GetItemData(list.FindItemByData(slot)), slot);
}

TEST_F(CutList, DeletingTheInvalidObjectsKeepsTheOthersAndWhatPointsAtThem)
{
    Fill(2);
    list.AddObject(Invalid("/m/x.mpg"), QImage(), false);
    Fill(1);
    list.SetItemState(0, ObjectState::Invalid);
    const QPersistentModelIndex last(list.index(3, 0));
    const QPersistentModelIndex gone(list.index(2, 0));
    ASSERT_TRUE(list.HasInvalidItems());
    list.DeleteInvalidItems();
    EXPECT_EQ(Slots(list), std::vector<int>({1, 3}));
    EXPECT_EQ(list.FindItemByData(3), 1);
    EXPECT_EQ(list.FindItemByData(2), -1);
    EXPECT_EQ(last.row(), 1);
    EXPECT_FALSE(gone.isValid());
    EXPECT_FALSE(list.HasInvalidItems());
}

TEST_F(CutList, FindPlayableSkipsInvalidObjects)
{
    EXPECT_EQ(list.FindPlayable(0), -1);
    list.AddObject(Invalid("/m/a.mpg"), QImage(), false);
    list.AddObject(Invalid("/m/b.mpg"), QImage(), false);
    EXPECT_EQ(list.FindPlayable(0), -1);
    list.AddObject(Record("/m/c.mpg"), QImage(), false);
    EXPECT_EQ(list.FindPlayable(0), 2);
    EXPECT_EQ(list.FindPlayable(2), 2);
    EXPECT_EQ(list.FindPlayable(-1), -1);
    EXPECT_EQ(list.FindPlayable(3), -1);
}

TEST_F(CutList, AnObjectsStateIsItsTextAndBringsItIntoView)
{
    Fill(3);
    QSignalSpy scrolls(&list, &CutListModel::scrollToItemRequested);
    list.SetItemState(2, ObjectState::Paused);
    EXPECT_EQ(list.GetItemState(2), ObjectState::Paused);
    EXPECT_EQ(list.GetItemText(2, CutListModel::kColumnState), "一時停止");
    EXPECT_EQ(list.index(2, CutListModel::kColumnName).data(CutListModel::StateRole).toInt(), 3);
    ASSERT_EQ(scrolls.count(), 1);
    EXPECT_EQ(scrolls.at(0).at(0).toInt(), 2);
    list.SetItemState(7, ObjectState::Paused);  // no such position: nothing happens
    EXPECT_EQ(scrolls.count(), 1);
    // The state is no text to set.
    list.SetItemText(2, CutListModel::kColumnState, "再生");
    EXPECT_EQ(list.GetItemState(2), ObjectState::Paused);
}

TEST_F(CutList, LabelsAreEditableThroughTheItemModel)
{
    Fill(1);
    EXPECT_TRUE(list.setData(list.index(0, CutListModel::kColumnName), "clip"));
    EXPECT_EQ(list.GetItemText(0, CutListModel::kColumnName), "clip");
    EXPECT_FALSE(list.setData(list.index(0, CutListModel::kColumnState), "x"));
}

}  // namespace
}  // namespace kivo
