#include "TestRecords.h"
#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/RandomOrder.h"
#include "cutlist/Sorting.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <numeric>
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
    // (Its texts, the path or a blank label for a name, are the loader's and
    // the search run's tests'.)
    list.AddObject(Record("/m/blank.mpg", 0, kFlagInvalid), QImage(), true);
    EXPECT_EQ(std::tuple(list.GetLargeImage(2).size(), list.GetSmallImage(2).size()), std::tuple(QSize(64, 48), QSize(32, 24)));

    list.DeleteItem(1);
    list.AddObject(Record("/m/new.mpg"), QImage(), false);
    EXPECT_EQ(std::tuple(Slots(), list.GetImageCount(), list.GetSlotPath(1)), std::tuple(std::vector<int>({0, 2, 3}), 4, QString("/m/1.mpg")));
    EXPECT_EQ(std::tuple(list.FindItemByData(1), list.FindItemByData(3)), std::tuple(-1, 2));
    list.Clear();
    list.AddObject(Record("/m/again.mpg"), QImage(), false);
    EXPECT_EQ(std::pair(Slots(), list.GetImageCount()), std::pair(std::vector<int>({0}), 1));
}

TEST_F(CutList, InvalidObjectsGoTogetherKeepingWhatPointsAtTheOthers)
{
    Fill(2);
    list.AddObject(Record("/m/x.mpg", 0, kFlagInvalid), QImage(), false);
    Fill(1);
    list.SetItemState(0, ObjectState::Invalid);

    const QPersistentModelIndex last(list.index(3, 0));
    const QPersistentModelIndex gone(list.index(2, 0));
    ASSERT_TRUE(list.HasInvalidItems());
    list.DeleteInvalidItems();
    EXPECT_EQ(Slots(), std::vector<int>({1, 3}));
    EXPECT_EQ(std::tuple(list.FindItemByData(3), last.row(), gone.isValid(), list.HasInvalidItems()),
              std::tuple(1, 1, false, false));
}

TEST_F(CutList, MovingCarriesTheObjectAndKeepsTheCurrentOneFoundAndAStateIsNoEditableTextAndBringsItsObjectIntoView)
{
    Fill(6);
    list.SetCurrent(1);
    list.MoveItem(1, 4);
    EXPECT_EQ(std::tuple(Slots(), list.FindCurrentItem()), std::tuple(std::vector<int>({0, 2, 3, 4, 1, 5}), 4));

    QSignalSpy scrolls(&list, &CutListModel::scrollToItemRequested);
    list.SetItemState(2, ObjectState::Paused);
    list.SetItemState(7, ObjectState::Paused);  // no such position: nothing happens
    EXPECT_EQ(std::tuple(list.GetItemText(2, kState), list.index(2, kName).data(CutListModel::StateRole).toInt()), std::tuple("一時停止", 3));
    EXPECT_EQ(scrolls, QList<QVariantList>({{2}}));

    list.SetItemText(2, kState, "再生");
    EXPECT_FALSE(list.setData(list.index(2, kState), "x"));
    EXPECT_EQ(list.GetItemState(2), ObjectState::Paused);
    EXPECT_TRUE(list.setData(list.index(0, kName), "clip") && list.GetItemText(0, kName) == "clip");
}

// The list's texts of one column, in list order.
QStringList Column(const CutListModel& list, int column)
{
    QStringList texts;
    for (int position = 0; position < list.GetItemCount(); ++position)
        texts.append(list.GetItemText(position, column));
    return texts;
}

// The directions' alternation is the editor's (CutListEditorTest).
TEST(Sorting, NamesIgnoreCaseOfAsciiLettersAndCompareByShiftJisBytesAndEachKeySortsByItsValueWithEmptyTextsFirstKeepingTheSlots)
{
    CutListModel list;
    // ｱ is the single byte 0xB1, あ is 0x82 0xA0, ア 0x83 0x41, é (not in
    // CP932) its UTF-8 bytes 0xC3 0xA9, as 😀 its four, Z is taken as z (0x7A).
    for (const char* name : {"ｱ", "😀", "ア", "あ", "é", "Z", "ab", "B"})
        list.SetItemText(list.AddObject(test::Record("/m/a.mpg"), QImage(), false), CutListModel::kColumnName, name);
    SortCutList(list, SortKey::Name, false);
    EXPECT_EQ(Column(list, CutListModel::kColumnName), QStringList({"ab", "B", "Z", "あ", "ア", "ｱ", "é", "😀"}));

    list.Clear();
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
    // Every key is turned round by the same code.
    SortCutList(list, SortKey::Date, true);
    EXPECT_EQ(Column(list, CutListModel::kColumnName), QStringList({"/m/0.wav", "/m/1.avi", "/m/2.mpg", "/m/3.mpg"}));
    SortCutList(list, SortKey::Type, false);
    EXPECT_EQ(std::tuple(Column(list, CutListModel::kColumnType), list.GetItemPath(list.FindCurrentItem())),
              std::tuple(QStringList({"", "AVI ﾌｧｲﾙ", "MPG ﾌｧｲﾙ", "WAV ﾌｧｲﾙ"}), "/m/0.wav"));
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
    // The seed from minutes, seconds and ms (the generator's outputs are
    // the editor's shuffle's, CutListEditorTest).
    EXPECT_EQ(RandomSeed(19, 59, 999), 255);
    EXPECT_EQ(RandomSeed(3, 30, 0), 89);  // 210,000 ms
}

using test::SizedRecord;

// As a list loads: a lookup, the examined file's entry, the next lookup; now
// and then a changed file's new entry for a path already there, whose text
// the list shares with the older entry, and the cache grows past the room
// its index was made with.
TEST(MediaInfoCache, EntriesAddedBetweenLookupsAreFoundAsInACacheMadeAtOnce)
{
    CMediaInfoCache growing;
    std::vector<MEDIARECORD> added;
    const auto expectSameAsMadeAtOnce = [&](const QString& path) {
        CMediaInfoCache atOnce;
        for (const MEDIARECORD& record : added)
            atOnce.Add(record);
        const MEDIARECORD expected = atOnce.Lookup(path);
        const MEDIARECORD found = growing.Lookup(path);
        EXPECT_EQ(std::tuple(found.strPath, found.nLength), std::tuple(expected.strPath, expected.nLength)) << path.toStdString();
    };
    for (int i = 0; i < 150; ++i) {
        const QString path = i % 7 == 6 ? added[static_cast<size_t>(i / 2)].strPath : QStringLiteral("/m/%1.mpg").arg(i);
        const MEDIARECORD record = SizedRecord(path, i, 1000, 100 + i);
        growing.Lookup(path);
        growing.Add(record);
        added.push_back(record);
        // The path as the list holds it (its text shared with the entry),
        // as a copy of its own, an earlier path, and a path not there.
        for (const QString& looked : {path, QString(path.constData(), path.size()), added[static_cast<size_t>(i / 3)].strPath,
                                      QStringLiteral("/m/%1.avi").arg(i)})
            expectSameAsMadeAtOnce(looked);
    }
}

TEST(MediaInfoCache, TheLatestEntryOfAPathIsFoundByItsExactKeyWithoutFlagSharingItsThumbnailAndMatchesFilesByTheirStored32BitValues)
{
    CMediaInfoCache cache;
    for (qint32 length : {100, 300})
        cache.Add(SizedRecord("/b.mpg", 1, 1000, length));
    EXPECT_EQ(cache.Lookup("/b.mpg").nLength, 300);
    const MEDIARECORD other = cache.Lookup("/B.mpg");  // no case folding: the empty record
    EXPECT_TRUE(other.strPath.isEmpty() && other.dwSize == 0 && other.nLength == 0);

    MEDIARECORD record = SizedRecord("/a.mpg", 1, 1000, 100, std::make_shared<QImage>(64, 48, QImage::Format_RGB32));
    record.nFlag = kFlagNoPicture;
    cache.Add(record);
    const MEDIARECORD found = cache.Lookup("/a.mpg");
    EXPECT_EQ(std::tuple(found.nFlag, found.pThumbnail.get()), std::tuple(kFlagValid, record.pThumbnail.get()));

    const MEDIARECORD examined = SizedRecord("/big.mpg", 0x140000000ull, 0x100000005ll, 100);  // after 2106
    // An entry read from a scenario file keeps only the low 32 bits.
    const MEDIARECORD stored = SizedRecord("/big.mpg", 0x40000000ull, 5, 100);
    EXPECT_EQ(std::tuple(CacheEntryIsCurrent(examined, 0x140000000ull, 0x100000005ll), CacheEntryIsCurrent(examined, 0x40000000ull, 0x100000005ll),
                         CacheEntryIsCurrent(stored, 0x140000000ull, 0x100000005ll), CacheEntryIsCurrent(stored, 0x40000000ull, 5),
                         CacheEntryIsCurrent(stored, 0x40000001ull, 5), CacheEntryIsCurrent(stored, 0x40000000ull, 6)),
              std::tuple(true, false, true, true, false, false));
}

}  // namespace
}  // namespace kivo
