#pragma once

#include "cutlist/MediaRecord.h"

#include <QString>

#include <array>

namespace kivo {

// "%dm%02ds" of a media time in 1/100 s: 12,345 gives "2m03s".
QString FormatShortTime(qint64 hundredths);
// "%d分 %02d秒 %02d", or "%d秒 %02d" under a minute.
QString FormatLongTime(qint64 hundredths);
// Kilobytes rounded up ("982KB", "1,024KB"), and with `withByteCount` the
// exact count after them ("982KB (1,005,007 ﾊﾞｲﾄ)").
QString FormatSize(quint64 bytes, bool withByteCount);
// "1999年 03月 05日 金曜日 14:03:07" in the machine's time zone.
QString FormatDate(qint64 secondsSince1970);
// "99/03/05 14:03", the date column of the list.
QString FormatShortDate(qint64 secondsSince1970);
// The type column: the file name's extension in capitals followed by
// " ﾌｧｲﾙ" ("MPG ﾌｧｲﾙ"), or "ﾌｧｲﾙ" for a name without a dot.
QString FormatTypeText(const QString& path);

// What list columns 1, 3, 4 and 5 of an object show, besides its path.
struct ObjectFacts {
    quint64 size = 0;
    qint64 modified = 0;  // 0 marks a missing file
    qint32 length = 0;
    bool invalid = false;
};
ObjectFacts FactsOf(const MEDIARECORD& record);

// The text of list column 1, 3, 4 or 5 of an object: media time, size, type
// or date, all empty for a missing file and the media time empty for an
// invalid one; empty for any other column.
QString ObjectColumnText(const QString& path, const ObjectFacts& facts, int column);
// Whether the date column of an object shows a date.
bool HasDate(const ObjectFacts& facts);

}  // namespace kivo
