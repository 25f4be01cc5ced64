#include "Commands.h"

#include "cutlist/CutListModel.h"
#include "cutlist/FileNames.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/ScenarioFile.h"
#include "media/Examination.h"

#include <QHash>
#include <QSet>

#include <iostream>
#include <optional>

namespace kivo::tool {

int SaveScenarioOfMedia(const QString& out, const QStringList& media, const QStringList& names)
{
    // The media added to an empty cut list in the order given, as the
    // program adds them (by their full paths, as its dialogs and drops give
    // them); the first playable object becomes current.
    CutListModel list;
    CMediaInfoCache cache;
    // Each file is examined once, by the cut list's pool of workers; a file
    // listed again is then taken from the cache, as the program takes it.
    const QStringList files(QSet<QString>(media.cbegin(), media.cend()).values());
    const std::vector<Examination> results = ExaminationPool().ExamineAll(files);
    QHash<QString, const Examination*> examined;
    for (qsizetype i = 0; i < files.size(); ++i)
        examined.insert(files[i], &results[static_cast<size_t>(i)]);
    KnownMediaObjects known(cache);
    for (const QString& path : media) {
        const std::optional<MediaObject> cached = known.Find(path);
        const MediaObject object = cached ? *cached : ExaminedMediaObject(*examined.value(path), cache);
        const int position = list.AddObject(object.record, object.picture, false);
        if (position < names.size() && !names[position].isEmpty())
            list.SetItemText(position, CutListModel::kColumnName, names[position]);
    }
    list.SetCurrent(list.GetItemData(list.FindPlayable(0)));

    if (const std::optional<WriteFailure> failure = SaveScenarioFile(out, list, cache, 0)) {
        std::cerr << "kvotool: cannot write " << Printable(out) << ": " << failure->detail.toStdString() << "\n";
        return kExitUnreadable;
    }
    return kExitOk;
}

int RunCreate(const std::vector<std::string>& arguments)
{
    if (arguments.size() < 2) {
        std::cerr << "Usage: kvotool create OUT.kvo MEDIA...\n";
        return kExitUsage;
    }
    QStringList media;
    for (size_t i = 1; i < arguments.size(); ++i)
        media.append(AbsoluteFileName(FileNameFromBytes(arguments[i])));
    return SaveScenarioOfMedia(FileNameFromBytes(arguments[0]), media, {});
}

}  // namespace kivo::tool
