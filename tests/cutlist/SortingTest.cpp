#include "TestRecords.h"
#include "cutlist/CutListModel.h"
#include "cutlist/RandomOrder.h"
#include "cutlist/Sorting.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

class Sorting : public ::testing::Test {
protected:
    // Adds an object and sets one column's text.
    void Add(int column, const QString& text, qint64 modified = 1)
    {
        MEDIARECORD record = test::Record(QStringLiteral("/m/%1").arg(list.GetItemCount()));
        record.timeModified = modified;
        const int position = list.AddObject(record, QImage(), false);
        list.SetItemText(position, column, text);
    }

    QStringList Column(int column) const
    {
        QStringList texts;
        for (int position = 0; position < list.GetItemCount(); ++position)
            texts.append(list.GetItemText(position, column));
        return texts;
    }

    void Sort(SortKey key, bool descending = false) { SortCutList(list, key, descending); }

    CutListModel list;
};

// The directions' alternation is the editor's (CutListEditorTest).
TEST_F(Sorting, NamesIgnoreCaseOfAsciiLettersAndCompareByShiftJisBytes)
{
    // ｱ is the single byte 0xB1, あ is 0x82 0xA0, ア 0x83 0x41, é (not in
    // CP932) its UTF-8 bytes 0xC3 0xA9, Z is taken as z (0x7A).
    for (const char* name : {"ｱ", "ア", "あ", "é", "Z", "ab", "B"})
        Add(CutListModel::kColumnName, QString::fromUtf8(name));
    Sort(SortKey::Name);
    EXPECT_EQ(Column(CutListModel::kColumnName), QStringList({"ab", "B", "Z", "あ", "ア", "ｱ", "é"}));
    Sort(SortKey::Name, true);
    EXPECT_EQ(Column(CutListModel::kColumnName), QStringList({"é", "ｱ", "ア", "あ", "Z", "B", "ab"}));
}

TEST_F(Sorting, MediaTimesAndSizesSortNumericallyWithEmptyTextsFirst)
{
    for (const char* time : {"9m59s", "10m00s", "", "0m05s"})
        Add(CutListModel::kColumnMediaTime, time);
    Sort(SortKey::MediaTime);
    EXPECT_EQ(Column(CutListModel::kColumnMediaTime), QStringList({"", "0m05s", "9m59s", "10m00s"}));

    list.Clear();
    for (const char* size : {"1,234KB", "999KB", "2,097,152KB", "1KB"})
        Add(CutListModel::kColumnSize, size);
    Sort(SortKey::Size);
    EXPECT_EQ(Column(CutListModel::kColumnSize), QStringList({"1KB", "999KB", "1,234KB", "2,097,152KB"}));
}

TEST_F(Sorting, DatesSortChronologicallyAcrossCenturies)
{
    Add(CutListModel::kColumnType, "2000", 946684800);  // 2000-01-01
    Add(CutListModel::kColumnType, "1999", 915148800);  // 1999-01-01
    Add(CutListModel::kColumnType, "none", 0);          // missing file, no date
    Sort(SortKey::Date);
    EXPECT_EQ(Column(CutListModel::kColumnType), QStringList({"none", "1999", "2000"}));
    Sort(SortKey::Date, true);
    EXPECT_EQ(Column(CutListModel::kColumnType), QStringList({"2000", "1999", "none"}));
}

TEST_F(Sorting, TypesCompareByBytesAndSortingKeepsSlots)
{
    for (const char* type : {"WAV ﾌｧｲﾙ", "AVI ﾌｧｲﾙ", "MPG ﾌｧｲﾙ"})
        Add(CutListModel::kColumnType, QString::fromUtf8(type));
    list.SetCurrent(0);
    Sort(SortKey::Type);
    EXPECT_EQ(Column(CutListModel::kColumnType), QStringList({"AVI ﾌｧｲﾙ", "MPG ﾌｧｲﾙ", "WAV ﾌｧｲﾙ"}));
    EXPECT_EQ(list.FindCurrentItem(), 2);
    EXPECT_EQ(list.GetItemPath(2), "/m/0");
}

// The shuffle as specified, one list move at a time.
std::vector<int> SlowRandomOrder(int seed, int count)
{
    std::vector<int> objects(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        objects[static_cast<size_t>(i)] = i;
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

TEST(RandomOrder, TableIsTheGeneratorsFirstOutputsAndSeedsComeFromTheClock)
{
    const auto& table = RandomTable();
    EXPECT_EQ(std::vector<int>(table.begin(), table.begin() + 5), std::vector<int>({41, 18467, 6334, 26500, 19169}));
    EXPECT_EQ(*std::max_element(table.begin(), table.end()), 32757);
    EXPECT_EQ(RandomSeed(0, 0, 0), 0);
    EXPECT_EQ(RandomSeed(19, 59, 999), 255);
    EXPECT_EQ(RandomSeed(3, 30, 0), 89);  // 210,000 ms
}

TEST(RandomOrder, MatchesTheMoveByMoveShuffleForEverySeed)
{
    for (int seed = 0; seed < 256; ++seed) {
        for (int count : {1, 2, 3, 4, 7, 16, 100, 255, 256, 257, 600})
            ASSERT_EQ(RandomOrder(seed, count), SlowRandomOrder(seed, count)) << seed << " " << count;
    }
    EXPECT_TRUE(RandomOrder(7, 0).empty());
    // Large enough that table value * count passes 32 bits.
    EXPECT_EQ(RandomOrder(37, 66000), SlowRandomOrder(37, 66000));
}

}  // namespace
}  // namespace kivo
