#include "TestRecords.h"
#include "cutlist/CutListModel.h"
#include "cutlist/RandomOrder.h"
#include "cutlist/Sorting.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

class Sorting : public ::testing::Test {
protected:
    // Adds an object named `name` for the file `path`, examined with these values.
    void Add(const QString& name, const QString& path = QStringLiteral("/m/clip.mpg"), qint32 length = 100,
             quint64 size = 1, qint64 modified = 1, int flag = kFlagValid)
    {
        MEDIARECORD record = test::Record(path, length, flag);
        record.dwSize = size;
        record.timeModified = modified;
        const int position = list.AddObject(record, QImage(), false);
        list.SetItemText(position, CutListModel::kColumnName, name);
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
        Add(QString::fromUtf8(name));
    Sort(SortKey::Name);
    EXPECT_EQ(Column(CutListModel::kColumnName), QStringList({"ab", "B", "Z", "あ", "ア", "ｱ", "é"}));
    Sort(SortKey::Name, true);
    EXPECT_EQ(Column(CutListModel::kColumnName), QStringList({"é", "ｱ", "ア", "あ", "Z", "B", "ab"}));
}

TEST_F(Sorting, MediaTimesAndSizesSortNumericallyWithEmptyTextsFirst)
{
    Add("9m59s", "/m/a.mpg", 59900);
    Add("10m00s", "/m/b.mpg", 60000);
    Add("invalid", "/m/c.mpg", 0, 1, 1, kFlagInvalid);
    Add("0m05s", "/m/d.mpg", 500);
    Sort(SortKey::MediaTime);
    EXPECT_EQ(Column(CutListModel::kColumnMediaTime), QStringList({"", "0m05s", "9m59s", "10m00s"}));

    list.Clear();
    for (const quint64 kilobytes : {1234, 999, 2097152, 1})
        Add({}, "/m/a.mpg", 100, kilobytes * 1024);
    Sort(SortKey::Size);
    EXPECT_EQ(Column(CutListModel::kColumnSize), QStringList({"1KB", "999KB", "1,234KB", "2,097,152KB"}));
}

TEST_F(Sorting, DatesSortChronologicallyAcrossCenturies)
{
    Add("2000", "/m/a.mpg", 100, 1, 946684800);  // 2000-01-01
    Add("1999", "/m/b.mpg", 100, 1, 915148800);  // 1999-01-01
    Add("none", "/m/c.mpg", 100, 1, 0);          // missing file, no date
    Sort(SortKey::Date);
    EXPECT_EQ(Column(CutListModel::kColumnName), QStringList({"none", "1999", "2000"}));
    Sort(SortKey::Date, true);
    EXPECT_EQ(Column(CutListModel::kColumnName), QStringList({"2000", "1999", "none"}));
}

TEST_F(Sorting, TypesCompareByBytesAndSortingKeepsSlots)
{
    for (const char* path : {"/m/0.wav", "/m/1.avi", "/m/2.mpg"})
        Add({}, path);
    list.SetCurrent(0);
    Sort(SortKey::Type);
    EXPECT_EQ(Column(CutListModel::kColumnType), QStringList({"AVI ﾌｧｲﾙ", "MPG ﾌｧｲﾙ", "WAV ﾌｧｲﾙ"}));
    EXPECT_EQ(list.FindCurrentItem(), 2);
    EXPECT_EQ(list.GetItemPath(2), "/m/0.wav");
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
