#pragma once

#include "cutlist/MediaRecord.h"

#include <QString>

#include <vector>

namespace kivo {

// What was learned about each examined file, by full path, so that adding a
// file again, reloading a scenario or showing properties need not open the
// medium again. The same path may occur in several entries; lookups find the
// most recently added one.
class CMediaInfoCache {
public:
    // The record of the latest entry for `path`, or the empty record.
    MEDIARECORD Lookup(const QString& path);
    // The media time of the latest entry for `path`, 0 when there is none;
    // asked of every object in turn, it copies no record.
    qint32 LengthOf(const QString& path);
    // The record of entry `index` (flag 0); the thumbnail is shared.
    MEDIARECORD GetRecord(int index) const { return m_entries.at(static_cast<size_t>(index)); }
    // Keeps `record` with flag 0: a flag belongs to an object, not a file.
    // A record alike to the latest entry of its path, the same picture
    // included, is already kept.
    void Add(const MEDIARECORD& record);
    int GetSize() const { return static_cast<int>(m_entries.size()); }

private:
    // A slot of an index: a hash and the latest entry of its key (-1 for a
    // free slot).
    struct IndexSlot {
        quint32 hash = 0;
        qint32 entry = -1;
    };
    using Index = std::vector<IndexSlot>;
    // A slot of the index by place: the top bits of a hash of where a text
    // lies in memory, and below them one more than the latest entry of that
    // text (0 for a free slot). Four bytes, so that the index of a large
    // cache stays close to the processor.
    using PlaceSlot = quint32;
    static constexpr int kPlaceEntryBits = 24;
    static constexpr PlaceSlot kPlaceEntryMask = (PlaceSlot{1} << kPlaceEntryBits) - 1;
    static PlaceSlot PlaceTag(size_t place) { return static_cast<PlaceSlot>(place >> (8 * sizeof place - 8)); }

    void RebuildIndex();
    // The slot of m_mapIndex holding `path`, or the free slot it would take.
    size_t TextSlot(const QString& path, quint32 hash) const;
    // Leads the place of `text` to entry `latest`; an entry beyond what a
    // slot holds is found by its text.
    void AddPlace(const QString& text, qint32 latest);
    // Takes a new entry into the valid indexes; false when they must be
    // made again instead, to have more room.
    bool IndexNewEntry(size_t entry);
    int FindEntry(const QString& path);
    template <typename Slot>
    static size_t NextSlot(const std::vector<Slot>& index, size_t slot)
    {
        return (slot + 1) & (index.size() - 1);
    }

    std::vector<MEDIARECORD> m_entries;
    // While m_bMapValid, two indexes of the latest entry of each path, in
    // open addressing tables of twice the entries or more, so that a lookup
    // usually reads one slot before comparing. m_mapIndex goes by the
    // path's text. m_sameText goes by where the text lies in memory: a path
    // that shares its text with an entry (as the list's paths share the
    // cache's) is found without reading a character.
    Index m_mapIndex;
    std::vector<PlaceSlot> m_sameText;
    // By entry: a later entry of its path came in since the indexes were
    // made, and the places still lead to this one.
    std::vector<bool> m_superseded;
    bool m_bMapValid = false;
};

// Whether a cache entry still describes a file of the given size and
// modification time. Scenario files keep sizes and times in 32 bits, so an
// entry read from one matches a file whose values agree in those bits.
bool CacheEntryIsCurrent(const MEDIARECORD& cached, quint64 sizeOnDisk, qint64 modifiedOnDisk);

}  // namespace kivo
