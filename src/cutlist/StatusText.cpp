#include "cutlist/StatusText.h"

#include "cutlist/CutListModel.h"
#include "cutlist/Formatters.h"
#include "cutlist/MediaInfoCache.h"

#include <algorithm>

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
    // A position left from a medium no longer in the list (a failed open
    // made a new document) is not more than the whole list.
    const qint64 played = std::min(elapsed / 100 * 100, total);
    return QStringLiteral("%1個のｵﾌﾞｼﾞｪｸﾄ ").arg(count) + FormatShortTime(total) + QStringLiteral(" 時間 ") +
           FormatShortTime(played) + QStringLiteral("（残り ") + FormatShortTime(total - played) +
           QStringLiteral("）");
}

}  // namespace kivo
