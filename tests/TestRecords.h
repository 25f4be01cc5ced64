#pragma once

#include "cutlist/MediaRecord.h"

namespace kivo::test {

// The record of an examined file: its path, media time in 1/100 s and
// flag; modified at second 1 (0 would mark a missing file).
inline MEDIARECORD Record(const QString& path, qint32 length = 100, int flag = kFlagValid)
{
    MEDIARECORD record;
    record.strPath = path;
    record.timeModified = 1;
    record.nLength = length;
    record.nFlag = flag;
    return record;
}

// The record of a medium of `size` bytes, modified at `modified`.
inline MEDIARECORD SizedRecord(const QString& path, quint64 size, qint64 modified, qint32 length, Thumbnail thumbnail = {})
{
    MEDIARECORD record = Record(path, length);
    record.dwSize = size;
    record.timeModified = modified;
    record.pThumbnail = std::move(thumbnail);
    return record;
}

}  // namespace kivo::test
