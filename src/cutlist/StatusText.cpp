#include "cutlist/StatusText.h"

#include "cutlist/CutListModel.h"
#include "cutlist/Formatters.h"
#include "cutlist/MediaInfoCache.h"

namespace kivo {

QString CutListSummaryText(const CutListModel& list, CMediaInfoCache& cache, qint64 positionHundredths)
{
    const int count = list.GetItemCount();
    const int current = list.FindCurrentItem();
    qint64 total = 0;
    qint64 elapsed = positionHundredths;
    for (int position = 0; position < count; ++position) {
        if (list.GetItemState(position) == ObjectState::Invalid)
            continue;
        const qint64 length = cache.Lookup(list.GetItemPath(position)).nLength;
        total += length;
        if (position < current)
            elapsed += length;
    }
    const qint64 played = elapsed / 100 * 100;
    return QStringLiteral("%1個のｵﾌﾞｼﾞｪｸﾄ ").arg(count) + FormatShortTime(total) + QStringLiteral(" 時間 ") +
           FormatShortTime(played) + QStringLiteral("（残り ") + FormatShortTime(total - played) +
           QStringLiteral("）");
}

}  // namespace kivo
