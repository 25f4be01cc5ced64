#include "TestRecords.h"
#include "cutlist/CutListModel.h"
#include "cutlist/RandomOrder.h"
#include "cutlist/Sorting.h"

#include <gtest/gtest.h>

#include <numeric>

namespace kivo {
namespace {

// The list's texts of one column, in list order.
QStringList Column(const CutListModel& list, int column)
{
    QStringList texts;
    for (int position = 0; position < list.GetItemCount(); ++position)
        texts.append(list.GetItemText(position, column));
    return texts;
}

// The directions' alternation is the editor's (CutListEditorTest).
TEST(Sorting, NamesIgnoreCaseOfAsciiLettersAndCompareByShiftJisBytes)
{
    CutListModel list;
    // ｱ is the single byte 0xB1, あ is 0x82 0xA0, ア 0x83 0x41, é (not in
    // CP932) its UTF-8 bytes 0xC3 0xA9, Z is taken as z (0x7A).
    for (const char* name : {"ｱ", "ア", "あ", "é", "Z", "ab", "B"})
        list.SetItemText(list.AddObject(test::Record("/m/a.mpg"), QImage(), false), CutListModel::kColumnName, name);
    SortCutList(list, SortKey::Name, false);
    EXPECT_EQ(Column(list, CutListModel::kColumnName), QStringList({"ab", "B", "Z", "あ", "ア", "ｱ", "é"}));
    SortCutList(list, SortKey::Name, true);
    EXPECT_EQ(Column(list, CutListModel::kColumnName), QStringList({"é", "ｱ", "ア", "あ", "Z", "B", "ab"}));
}

TEST(Sorting, EachKeySortsByItsValueWithEmptyTextsFirstAndObjectsKeepTheirSlots)
{
    CutListModel list;
    MEDIARECORD records[] = {
        test::SizedRecord("/m/0.wav", 999 * 1024, 946684800, 59900),     // 2000-01-01
        test::SizedRecord("/m/1.avi", 1234 * 1024, 915148800, 60000),    // 1999-01-01
        test::SizedRecord("/m/2.mpg", 2097152ull * 1024, -86400, 0),     // 1969-12-31, invalid below
        test::SizedRecord("/m/3.mpg", 1024, 0, 500),                     // missing: no texts
    };
    records[2].nFlag = kFlagInvalid;
    for (const MEDIARECORD& record : records)
        list.AddObject(record, QImage(), false);
    list.SetCurrent(0);
    SortCutList(list, SortKey::MediaTime, false);
    EXPECT_EQ(Column(list, CutListModel::kColumnMediaTime), QStringList({"", "", "9m59s", "10m00s"}));
    SortCutList(list, SortKey::Size, false);
    EXPECT_EQ(Column(list, CutListModel::kColumnSize), QStringList({"", "999KB", "1,234KB", "2,097,152KB"}));
    SortCutList(list, SortKey::Date, false);
    EXPECT_EQ(Column(list, CutListModel::kColumnName), QStringList({"/m/3.mpg", "/m/2.mpg", "/m/1.avi", "/m/0.wav"}));
    SortCutList(list, SortKey::Date, true);
    EXPECT_EQ(Column(list, CutListModel::kColumnName), QStringList({"/m/0.wav", "/m/1.avi", "/m/2.mpg", "/m/3.mpg"}));
    SortCutList(list, SortKey::Type, false);
    EXPECT_EQ(Column(list, CutListModel::kColumnType), QStringList({"", "AVI ﾌｧｲﾙ", "MPG ﾌｧｲﾙ", "WAV ﾌｧｲﾙ"}));
    EXPECT_EQ(list.GetItemPath(list.FindCurrentItem()), "/m/0.wav");
}

// The shuffle as the original program made it, one list move at a time.
std::vector<int> SlowRandomOrder(int seed, int count)
{
    std::vector<int> objects(static_cast<size_t>(count));
    std::iota(objects.begin(), objects.end(), 0);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < count; ++i) {
            const int r = RandomTable()[static_cast<size_t>((seed + i) % 256)];
            const auto target = static_cast<int>(static_cast<double>(r) * count * 0.00003051850947599719);
            const int moved = objects[static_cast<size_t>(i)];
            objects.erase(objects.begin() + i);
            objects.insert(objects.begin() + target, moved);
        }
    }
    return objects;
}

TEST(RandomOrder, MatchesTheMoveByMoveShuffleForEverySeedWhoseSeedComesFromTheClock)
{
    for (int seed = 0; seed < 256; ++seed)
        for (int count : {1, 2, 3, 4, 7, 16, 100, 255, 256, 257, 600})
            ASSERT_EQ(RandomOrder(seed, count), SlowRandomOrder(seed, count)) << seed << " " << count;
    EXPECT_TRUE(RandomOrder(7, 0).empty());
    // Large enough that table value * count passes 32 bits.
    EXPECT_EQ(RandomOrder(37, 66000), SlowRandomOrder(37, 66000));
    // The generator's first outputs; the seed from minutes, seconds and ms.
    EXPECT_EQ(std::vector<int>(RandomTable().begin(), RandomTable().begin() + 3), std::vector<int>({41, 18467, 6334}));
    EXPECT_EQ(RandomSeed(19, 59, 999), 255);
    EXPECT_EQ(RandomSeed(3, 30, 0), 89);  // 210,000 ms
}

}  // namespace
}  // namespace kivo
