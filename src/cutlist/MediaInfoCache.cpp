#include "MediaInfoCache.h"

#include "Archive.h"
#include "Thumbnail.h"

namespace kivo {

MEDIARECORD CMediaInfoCache::Lookup(const QString& path)
{
    if (!m_bMapValid) {
        m_mapIndex.clear();
        m_mapIndex.reserve(GetSize());
        for (int i = 0; i < GetSize(); ++i)
            m_mapIndex.insert(m_arrPath[static_cast<size_t>(i)], i);
        m_bMapValid = true;
    }
    const auto found = m_mapIndex.constFind(path);
    return found == m_mapIndex.cend() ? MEDIARECORD{} : GetRecord(found.value());
}

MEDIARECORD CMediaInfoCache::GetRecord(int index) const
{
    const auto i = static_cast<size_t>(index);
    MEDIARECORD record;
    record.strPath = m_arrPath[i];
    record.dwSize = m_arrSize[i];
    record.timeModified = m_arrModified[i];
    record.pThumbnail = m_arrThumbnail[i];
    record.dwReserved = m_arrReserved[i];
    record.nLength = m_arrLength[i];
    return record;
}

void CMediaInfoCache::Add(const MEDIARECORD& record)
{
    m_arrPath.push_back(record.strPath);
    m_arrSize.push_back(record.dwSize);
    m_arrModified.push_back(record.timeModified);
    m_arrReserved.push_back(record.dwReserved);
    m_arrThumbnail.push_back(record.pThumbnail);
    m_arrLength.push_back(record.nLength);
    m_bMapValid = false;
}

void CMediaInfoCache::RemoveAt(int index)
{
    if (index < 0 || index >= GetSize())
        return;
    const auto at = static_cast<std::ptrdiff_t>(index);
    m_arrPath.erase(m_arrPath.begin() + at);
    m_arrSize.erase(m_arrSize.begin() + at);
    m_arrModified.erase(m_arrModified.begin() + at);
    m_arrReserved.erase(m_arrReserved.begin() + at);
    m_arrThumbnail.erase(m_arrThumbnail.begin() + at);
    m_arrLength.erase(m_arrLength.begin() + at);
    m_bMapValid = false;
}

void CMediaInfoCache::RemoveAll()
{
    m_arrPath.clear();
    m_arrSize.clear();
    m_arrModified.clear();
    m_arrReserved.clear();
    m_arrThumbnail.clear();
    m_arrLength.clear();
    m_bMapValid = false;
}

void CMediaInfoCache::Write(ArchiveWriter& archive) const
{
    archive.WriteInt32(GetSize() - 1);
    for (size_t i = 0; i < m_arrPath.size(); ++i) {
        archive.WriteString(m_arrPath[i]);
        archive.WriteUInt32(static_cast<quint32>(m_arrSize[i]));
        archive.WriteInt32(static_cast<qint32>(m_arrModified[i]));
        archive.WriteInt32(m_arrLength[i]);
        if (m_arrThumbnail[i]) {
            const QByteArray block = ThumbnailToBlock(*m_arrThumbnail[i]);
            archive.WriteUInt32(static_cast<quint32>(block.size()));
            archive.WriteBytes(block);
        } else {
            archive.WriteUInt32(0);
        }
    }
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
