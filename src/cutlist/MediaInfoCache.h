#pragma once

#include "cutlist/MediaRecord.h"

#include <QString>

#include <vector>

namespace kivo {

class ArchiveWriter;

// What was learned about each examined file, by full path, so that adding a
// file again, reloading a scenario or showing properties need not open the
// medium again. The same path may occur in several entries; lookups find the
// most recently added one.
class CMediaInfoCache {
public:
    // The record of the latest entry for `path`, or the empty record.
    MEDIARECORD Lookup(const QString& path);
    // The record of entry `index` (flag 0); the thumbnail is shared.
    MEDIARECORD GetRecord(int index) const;
    void Add(const MEDIARECORD& record);
    void RemoveAt(int index);
    void RemoveAll();
    int GetSize() const { return static_cast<int>(m_entries.size()); }

    // The cache section of a scenario file: the last entry index, then each
    // entry's path, size, time, length and thumbnail block.
    void Write(ArchiveWriter& archive) const;

private:
    // One entry's values side by side, so that a lookup touches one place.
    struct Entry {
        QString path;
        quint64 size = 0;
        qint64 modified = 0;
        Thumbnail thumbnail;
        quint32 reserved = 0;
        qint32 length = 0;
    };

    // A slot of the path index: the hash of a path and the index of its
    // latest entry (-1 for a free slot).
    struct IndexSlot {
        size_t hash = 0;
        int entry = -1;
    };

    void RebuildIndex();
    int FindEntry(const QString& path, size_t hash) const;
    size_t NextSlot(size_t slot) const { return (slot + 1) & (m_mapIndex.size() - 1); }

    std::vector<Entry> m_entries;
    // Path -> latest entry, while m_bMapValid: open addressing in a table of
    // twice the entries or more, so that a lookup usually reads one slot
    // before comparing the path.
    std::vector<IndexSlot> m_mapIndex;
    bool m_bMapValid = false;
};

// Whether a cache entry still describes a file of the given size and
// modification time. Scenario files keep sizes and times in 32 bits, so an
// entry read from one matches a file whose values agree in those bits.
bool CacheEntryIsCurrent(const MEDIARECORD& cached, quint64 sizeOnDisk, qint64 modifiedOnDisk);

}  // namespace kivo
