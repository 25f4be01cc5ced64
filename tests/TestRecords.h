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

}  // namespace kivo::test
