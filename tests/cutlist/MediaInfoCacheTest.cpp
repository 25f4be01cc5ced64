#include "TestRecords.h"
#include "cutlist/MediaInfoCache.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kivo {
namespace {

using test::SizedRecord;

TEST(MediaInfoCache, LookupFindsTheLatestEntryForAPathOrTheEmptyRecord)
{
    CMediaInfoCache cache;
    cache.Add(SizedRecord("/a.mpg", 1, 1000, 100));
    cache.Add(SizedRecord("/b.mpg", 2, 1000, 200));
    EXPECT_EQ(cache.Lookup("/a.mpg").nLength, 100);
    // A change after a lookup is seen by the next lookup.
    cache.Add(SizedRecord("/a.mpg", 3, 1000, 300));
    EXPECT_EQ(cache.Lookup("/a.mpg").nLength, 300);
    cache.RemoveAt(2);
    EXPECT_EQ(cache.Lookup("/a.mpg").nLength, 100);
    EXPECT_EQ(cache.Lookup("/b.mpg").dwSize, 2u);
    // Keys are exact: no case folding. A missing path gives the empty record.
    const MEDIARECORD record = cache.Lookup("/A.mpg");
    EXPECT_TRUE(record.strPath.isEmpty() && record.dwSize == 0 && record.nLength == 0);
    cache.RemoveAll();
    EXPECT_EQ(cache.GetSize(), 0);
    EXPECT_TRUE(cache.Lookup("/a.mpg").strPath.isEmpty());
}

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

TEST(MediaInfoCache, RecordsCarryNoFlagShareTheirThumbnailAndMatchFilesByTheirStored32BitValues)
{
    CMediaInfoCache cache;
    MEDIARECORD record = SizedRecord("/a.mpg", 1, 1000, 100, std::make_shared<QImage>(64, 48, QImage::Format_RGB32));
    record.nFlag = kFlagNoPicture;
    cache.Add(record);
    const MEDIARECORD found = cache.Lookup("/a.mpg");
    EXPECT_EQ(found.nFlag, kFlagValid);
    EXPECT_EQ(found.pThumbnail.get(), record.pThumbnail.get());
    // A record taken out keeps its picture when the cache lets go of it.
    cache.RemoveAll();
    EXPECT_EQ(found.pThumbnail->width(), 64);

    const MEDIARECORD examined = SizedRecord("/big.mpg", 0x140000000ull, 0x100000005ll, 100);  // after 2106
    EXPECT_TRUE(CacheEntryIsCurrent(examined, 0x140000000ull, 0x100000005ll));
    EXPECT_FALSE(CacheEntryIsCurrent(examined, 0x40000000ull, 0x100000005ll));
    // An entry read from a scenario file keeps only the low 32 bits.
    const MEDIARECORD stored = SizedRecord("/big.mpg", 0x40000000ull, 5, 100);
    EXPECT_TRUE(CacheEntryIsCurrent(stored, 0x140000000ull, 0x100000005ll));
    EXPECT_TRUE(CacheEntryIsCurrent(stored, 0x40000000ull, 5));
    EXPECT_FALSE(CacheEntryIsCurrent(stored, 0x40000001ull, 5));
    EXPECT_FALSE(CacheEntryIsCurrent(stored, 0x40000000ull, 6));
}

}  // namespace
}  // namespace kivo
