#include "session/ObjectProperties.h"

#include "cutlist/CutListModel.h"
#include "cutlist/FileNames.h"
#include "cutlist/Formatters.h"
#include "cutlist/MediaInfoCache.h"
#include "media/MediaEngine.h"
#include "media/Pictures.h"

#include <QCoreApplication>

namespace kivo {
namespace {

const char* const kNotAvailable = QT_TRANSLATE_NOOP("ObjectProperties", "このオブジェクトは利用できません。");
const char* const kFileMissing = QT_TRANSLATE_NOOP("ObjectProperties", "ファイルが存在しません。");
const char* const kMissingNow = QT_TRANSLATE_NOOP("ObjectProperties", "ファイルが存在しないため、現在は利用できません。");

QString FileNameOf(const QString& location)
{
    return location.mid(location.lastIndexOf(QLatin1Char('/')) + 1);
}

}  // namespace

ObjectProperties GatherObjectProperties(const CutListModel& list, CMediaInfoCache& cache, MediaEngine& engine,
                                        int menuItem, bool bPlayback)
{
    ObjectProperties result;
    const int current = list.FindCurrentItem();
    int item = current;
    if (menuItem != -1 && menuItem != current) {
        item = menuItem;
        result.pages = {PropertyPage::Media};
    } else {
        result.pages = {PropertyPage::Media, PropertyPage::Player, PropertyPage::Playback};
        result.active = bPlayback ? PropertyPage::Playback : PropertyPage::Media;
    }
    if (item < 0 || item >= list.GetItemCount())
        return result;
    result.item = item;
    const bool playerPages = result.pages.size() > 1;

    result.options = {engine.Options().stretch, engine.Options().autoRewind, engine.Options().repeat, engine.Options().autoSize};
    result.levels.volume = engine.Volume();
    result.levels.balance = engine.Balance();
    result.levels.muted = engine.IsMuted();
    result.levels.hasMedia = engine.HasGraph();
    result.levels.rate = engine.GetRate();

    const QString slotPath = list.GetItemPath(item);
    const MEDIARECORD record = cache.Lookup(slotPath);
    MediaPageTexts& media = result.media;
    media.name = list.GetItemText(item, CutListModel::kColumnName);
    media.type = list.GetItemText(item, CutListModel::kColumnType);
    media.location = record.strPath;
    media.time = FormatLongTime(record.nLength);
    media.size = FormatSize(record.dwSize, true);
    media.date = FormatDate(record.timeModified);

    PlayerPageTexts& player = result.player;
    if (playerPages) {
        player.fileName = FileNameOf(media.location);
        player.type = media.type;
        player.time = media.time;
        engine.GetSourceRect();
        player.videoSize = QString::asprintf("%ld x %ld", engine.SourceRectangle().width, engine.SourceRectangle().height);
        player.filters = engine.ListFilters();
    }

    if (record.strPath.isEmpty()) {
        media.picture = LoadPicture(PictureId::Unavailable);
        media.message = QCoreApplication::translate("ObjectProperties", kNotAvailable);
        media.location = slotPath;
        media.type.clear();
        media.time.clear();
        media.size.clear();
        media.date.clear();
        if (const FileStatus file = StatFile(slotPath); file.exists) {
            media.size = FormatSize(file.size, true);
            media.date = FormatDate(file.modified);
        } else {
            media.message = QCoreApplication::translate("ObjectProperties", kFileMissing);
        }
    } else if (list.GetItemState(item) == ObjectState::Invalid) {
        media.picture = LoadPicture(PictureId::Unavailable);
        media.message = QCoreApplication::translate("ObjectProperties", kMissingNow);
        media.time.clear();
    } else if (record.pThumbnail == nullptr) {
        media.picture = LoadPicture(PictureId::SoundOnly);
    } else {
        media.picture = *record.pThumbnail;
    }
    // The player page of an object that cannot be played shows the same
    // picture as its media page.
    if (playerPages)
        player.picture = media.picture;
    return result;
}

void ReturnPlaybackOptions(MediaEngine& engine, const PlaybackOptions& options,
                           const std::function<void()>& layoutVideo)
{
    engine.SetOption(&PlayerOptions::stretch, options.stretch);
    engine.SetOption(&PlayerOptions::autoRewind, options.autoRewind);
    if (layoutVideo)
        layoutVideo();
    engine.SetOption(&PlayerOptions::repeat, options.repeat);
    engine.SetOption(&PlayerOptions::autoSize, options.autoSize);
}

}  // namespace kivo
