#include "Commands.h"

#include "cutlist/CutListModel.h"
#include "cutlist/FileNames.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/ScenarioFile.h"
#include "media/Examination.h"
#include "media/MediaProbe.h"

#include <iostream>

namespace kivo::tool {

int RunCreate(const std::vector<std::string>& arguments)
{
    if (arguments.size() < 2) {
        std::cerr << "Usage: kvotool create OUT.kvo MEDIA...\n";
        return kExitUsage;
    }
    // The media added to an empty cut list, one after the other, as the
    // program adds them (by their full paths, as its dialogs and drops give
    // them); the first playable object becomes current.
    CutListModel list;
    CMediaInfoCache cache;
    const MediaProbe probe;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const QString media = AbsoluteFileName(FileNameFromBytes(arguments[i]));
        const MediaObject object = MediaObjectFor(media, cache, probe);
        list.AddObject(object.record, object.picture, false);
    }
    list.SetCurrent(list.GetItemData(list.FindPlayable(0)));

    const QString out = FileNameFromBytes(arguments[0]);
    QString error;
    QString detail;
    if (!SaveScenarioFile(out, list, cache, 0, &error, &detail)) {
        std::cerr << "kvotool: cannot write " << Printable(out) << ": " << detail.toStdString() << "\n";
        return kExitUnreadable;
    }
    return kExitOk;
}

}  // namespace kivo::tool
