#include "cutlist/MediaInfoCache.h"

namespace kivo {

namespace {

quint32 TextHash(const QString& path)
{
    return static_cast<quint32>(qHash(path));
}

// Where a text lies in memory.
size_t PlaceHash(const QChar* text)
{
    return qHash(reinterpret_cast<quintptr>(text));
}

}  // namespace

void CMediaInfoCache::RebuildIndex()
{
    size_t capacity = 16;
    while (capacity < 2 * m_entries.size())
        capacity *= 2;
    m_mapIndex.assign(capacity, IndexSlot{});
    std::vector<size_t> slotOfEntry(m_entries.size());
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const quint32 hash = TextHash(m_entries[i].strPath);
        // A later entry for the same path takes over its slot.
        slotOfEntry[i] = TextSlot(m_entries[i].strPath, hash);
        m_mapIndex[slotOfEntry[i]] = {hash, static_cast<qint32>(i)};
    }
    // Each entry's text leads to the latest entry of its path.
    m_sameText.assign(capacity, PlaceSlot{});
    for (size_t i = 0; i < m_entries.size(); ++i)
        AddPlace(m_entries[i].strPath, m_mapIndex[slotOfEntry[i]].entry);
    m_superseded.assign(m_entries.size(), false);
    m_bMapValid = true;
}

size_t CMediaInfoCache::TextSlot(const QString& path, quint32 hash) const
{
    size_t slot = hash & (m_mapIndex.size() - 1);
    while (m_mapIndex[slot].entry >= 0 &&
           (m_mapIndex[slot].hash != hash || m_entries[static_cast<size_t>(m_mapIndex[slot].entry)].strPath != path)) {
        slot = NextSlot(m_mapIndex, slot);
    }
    return slot;
}

void CMediaInfoCache::AddPlace(const QString& text, qint32 latest)
{
    if (static_cast<PlaceSlot>(latest) >= kPlaceEntryMask)
        return;
    const size_t place = PlaceHash(text.constData());
    const PlaceSlot value = PlaceTag(place) << kPlaceEntryBits | (static_cast<PlaceSlot>(latest) + 1);
    size_t slot = place & (m_sameText.size() - 1);
    while (m_sameText[slot] != 0 && m_sameText[slot] != value)
        slot = NextSlot(m_sameText, slot);
    m_sameText[slot] = value;
}

bool CMediaInfoCache::IndexNewEntry(size_t entry)
{
    if (2 * m_entries.size() > m_mapIndex.size())
        return false;
    const QString& path = m_entries[entry].strPath;
    const quint32 hash = TextHash(path);
    const size_t slot = TextSlot(path, hash);
    // A later entry of a known path (a changed file examined again): the
    // places that led to the earlier one now send their lookups to the
    // index by text.
    m_superseded.push_back(false);
    if (m_mapIndex[slot].entry >= 0)
        m_superseded[static_cast<size_t>(m_mapIndex[slot].entry)] = true;
    m_mapIndex[slot] = {hash, static_cast<qint32>(entry)};
    AddPlace(path, static_cast<qint32>(entry));
    return true;
}

int CMediaInfoCache::FindEntry(const QString& path)
{
    if (!m_bMapValid)
        RebuildIndex();
    // Two strings whose texts lie in the same place hold the same text:
    // the entry's text is then found without reading a character.
    const size_t place = PlaceHash(path.constData());
    const PlaceSlot tag = PlaceTag(place);
    for (size_t slot = place & (m_sameText.size() - 1); m_sameText[slot] != 0; slot = NextSlot(m_sameText, slot)) {
        if (m_sameText[slot] >> kPlaceEntryBits != tag)
            continue;
        const size_t entry = (m_sameText[slot] & kPlaceEntryMask) - 1;
        const QString& text = m_entries[entry].strPath;
        if (text.constData() == path.constData() ? text.size() == path.size() : text == path) {
            if (!m_superseded[entry])
                return static_cast<int>(entry);
            break;
        }
    }
    // A free slot's entry is -1.
    return m_mapIndex[TextSlot(path, TextHash(path))].entry;
}

MEDIARECORD CMediaInfoCache::Lookup(const QString& path)
{
    // The record shares the path's text, whose count of users is raised at
    // the end: fetching it now overlaps that read with the index's.
    __builtin_prefetch(const_cast<QString&>(path).data_ptr().d_ptr(), 1);
    const int index = FindEntry(path);
    return index < 0 ? MEDIARECORD{} : GetRecord(index);
}

qint32 CMediaInfoCache::LengthOf(const QString& path)
{
    const int index = FindEntry(path);
    return index < 0 ? 0 : m_entries[static_cast<size_t>(index)].nLength;
}

void CMediaInfoCache::Add(const MEDIARECORD& record)
{
    // A scenario keeps an entry for each of its objects, so a file listed a
    // thousand times comes with a thousand entries, as a rule alike (the
    // reader shares their path's text and their picture): one alike to the
    // latest entry of its path would only answer lookups as that one does.
    if (const int latest = FindEntry(record.strPath); latest >= 0) {
        const MEDIARECORD& entry = m_entries[static_cast<size_t>(latest)];
        if (entry.dwSize == record.dwSize && entry.timeModified == record.timeModified &&
            entry.nLength == record.nLength && entry.dwReserved == record.dwReserved &&
            entry.pThumbnail == record.pThumbnail)
            return;
    }
    m_entries.push_back(record);
    m_entries.back().nFlag = kFlagValid;
    // Files are added one by one between lookups as they are examined: the
    // indexes take each new entry in while they have room, rather than
    // being made again over the whole cache for the next lookup.
    if (m_bMapValid && !IndexNewEntry(m_entries.size() - 1))
        m_bMapValid = false;
}

bool CacheEntryIsCurrent(const MEDIARECORD& cached, quint64 sizeOnDisk, qint64 modifiedOnDisk)
{
    const quint64 storedSize = sizeOnDisk & 0xFFFFFFFFu;
    const auto storedTime = static_cast<qint32>(modifiedOnDisk);
    const bool sizeMatches = cached.dwSize == sizeOnDisk || (storedSize != sizeOnDisk && cached.dwSize == storedSize);
    const bool timeMatches =
        cached.timeModified == modifiedOnDisk || (storedTime != modifiedOnDisk && cached.timeModified == storedTime);
    return sizeMatches && timeMatches;
}

}  // namespace kivo
