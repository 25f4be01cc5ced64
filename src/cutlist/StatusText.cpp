#include "cutlist/StatusText.h"

#include "cutlist/CutListModel.h"
#include "cutlist/Formatters.h"
#include "cutlist/MediaInfoCache.h"

#include <QCoreApplication>

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
        const qint64 length = cache.LengthOf(list.GetSlotPath(list.GetItemData(position)));
        total += length;
        if (position < current)
            elapsed += length;
    }
    // A position left from a medium no longer in the list (a failed open
    // made a new document) is not more than the whole list.
    const qint64 played = std::min(elapsed / 100 * 100, total);
    return QCoreApplication::translate("StatusText", "%1個のｵﾌﾞｼﾞｪｸﾄ %2 時間 %3（残り %4）")
        .arg(count)
        .arg(FormatShortTime(total), FormatShortTime(played), FormatShortTime(total - played));
}

}  // namespace kivo
