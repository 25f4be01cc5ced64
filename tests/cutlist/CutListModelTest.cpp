#include "TestRecords.h"
#include "cutlist/CutListModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <tuple>

namespace kivo {
namespace {

using test::Record;
constexpr int kName = CutListModel::kColumnName;
constexpr int kState = CutListModel::kColumnState;

class CutList : public ::testing::Test {
protected:
    void Fill(int count)
    {
        for (int i = 0; i < count; ++i)
            list.AddObject(Record(QStringLiteral("/m/%1.mpg").arg(i)), QImage(), false);
    }
    // The slots of the items in list order.
    std::vector<int> Slots() const
    {
        std::vector<int> result;
        for (int position = 0; position < list.GetItemCount(); ++position)
            result.push_back(list.GetItemData(position));
        return result;
    }

    CutListModel list;
    QAbstractItemModelTester tester{&list, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(CutList, EachObjectTakesANewSlotThatStaysUntilTheListIsCleared)
{
    Fill(2);
    list.AddObject(Record("/m/blank.mpg", 0, kFlagInvalid), QImage(), true);
    EXPECT_EQ(std::tuple(list.GetItemText(0, kName), list.GetItemText(2, kName), list.GetItemText(2, kState)),
              std::tuple("/m/0.mpg", " ", "無効"));
    EXPECT_EQ(std::tuple(list.GetLargeImage(2).size(), list.GetSmallImage(2).size()), std::tuple(QSize(64, 48), QSize(32, 24)));

    list.DeleteItem(1);
    list.AddObject(Record("/m/new.mpg"), QImage(), false);
    EXPECT_EQ(Slots(), std::vector<int>({0, 2, 3}));
    EXPECT_EQ(list.GetImageCount(), 4);
    EXPECT_EQ(list.GetSlotPath(1), "/m/1.mpg");
    EXPECT_EQ(std::tuple(list.FindItemByData(1), list.FindItemByData(3)), std::tuple(-1, 2));
    list.Clear();
    list.AddObject(Record("/m/again.mpg"), QImage(), false);
    EXPECT_EQ(Slots(), std::vector<int>({0}));
    EXPECT_EQ(list.GetImageCount(), 1);
}

TEST_F(CutList, MovingCarriesTheObjectAndKeepsTheCurrentOneFound)
{
    Fill(6);
    list.SetCurrent(1);
    list.MoveItem(1, 4);
    EXPECT_EQ(Slots(), std::vector<int>({0, 2, 3, 4, 1, 5}));
    EXPECT_EQ(list.FindCurrentItem(), 4);
    list.MoveItem(4, 1);
    list.MoveItem(4, 1);
    EXPECT_EQ(Slots(), std::vector<int>({0, 4, 1, 2, 3, 5}));

    list.ApplyOrder({5, 4, 3, 2, 1, 0});
    EXPECT_EQ(Slots(), std::vector<int>({5, 3, 2, 1, 4, 0}));
    EXPECT_EQ(list.FindCurrentItem(), 3);
    for (int slot = 0; slot < 6; ++slot)
        EXPECT_EQ(list.GetItemData(list.FindItemByData(slot)), slot);
}

TEST_F(CutList, InvalidObjectsAreNotPlayableAndGoTogetherKeepingWhatPointsAtTheOthers)
{
    EXPECT_EQ(list.FindPlayable(0), -1);
    Fill(2);
    list.AddObject(Record("/m/x.mpg", 0, kFlagInvalid), QImage(), false);
    Fill(1);
    list.SetItemState(0, ObjectState::Invalid);
    EXPECT_EQ(std::tuple(list.FindPlayable(0), list.FindPlayable(2), list.FindPlayable(-1), list.FindPlayable(4)),
              std::tuple(1, 3, -1, -1));

    const QPersistentModelIndex last(list.index(3, 0));
    const QPersistentModelIndex gone(list.index(2, 0));
    ASSERT_TRUE(list.HasInvalidItems());
    list.DeleteInvalidItems();
    EXPECT_EQ(Slots(), std::vector<int>({1, 3}));
    EXPECT_EQ(std::tuple(list.FindItemByData(3), last.row(), gone.isValid(), list.HasInvalidItems()),
              std::tuple(1, 1, false, false));
}

TEST_F(CutList, AStateIsNoEditableTextAndBringsItsObjectIntoView)
{
    Fill(3);
    QSignalSpy scrolls(&list, &CutListModel::scrollToItemRequested);
    list.SetItemState(2, ObjectState::Paused);
    EXPECT_EQ(list.GetItemText(2, kState), "一時停止");
    EXPECT_EQ(list.index(2, kName).data(CutListModel::StateRole).toInt(), 3);
    ASSERT_EQ(scrolls.count(), 1);
    EXPECT_EQ(scrolls.at(0).at(0).toInt(), 2);
    list.SetItemState(7, ObjectState::Paused);  // no such position: nothing happens
    EXPECT_EQ(scrolls.count(), 1);

    list.SetItemText(2, kState, "再生");
    EXPECT_FALSE(list.setData(list.index(2, kState), "x"));
    EXPECT_EQ(list.GetItemState(2), ObjectState::Paused);
    EXPECT_TRUE(list.setData(list.index(0, kName), "clip"));
    EXPECT_EQ(list.GetItemText(0, kName), "clip");
}

}  // namespace
}  // namespace kivo
