#pragma once

#include <QString>

namespace kivo {

class CutListModel;
class CMediaInfoCache;

// The status-bar summary of the cut list, for example
// "3個のｵﾌﾞｼﾞｪｸﾄ 12m30s 時間 4m05s（残り 8m25s）": the object count, the
// total media time of the playable objects, the time played so far (the
// objects before the current one plus the player's position, in whole
// seconds, at most the total) and what remains. Objects not in the cache
// count as length 0.
QString CutListSummaryText(const CutListModel& list, CMediaInfoCache& cache, qint64 positionHundredths);

}  // namespace kivo
