#include "Commands.h"

#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/ScenarioFile.h"
#include "player/Examination.h"
#include "player/MediaEngine.h"

#include <QFile>

#include <iostream>

namespace kivo::tool {

int RunCreate(const std::vector<std::string>& arguments)
{
    if (arguments.size() < 2) {
        std::cerr << "Usage: kvotool create OUT.kvo MEDIA...\n";
        return kExitUsage;
    }
    // The media added to an empty cut list, one after the other, as the
    // program adds them; the first playable object becomes current.
    CutListModel list;
    CMediaInfoCache cache;
    MediaEngine preview;
    for (size_t i = 1; i < arguments.size(); ++i) {
        const MediaObject object = MediaObjectFor(QFile::decodeName(arguments[i].c_str()), cache, preview);
        list.AddObject(object.record, object.picture, false);
    }
    list.SetCurrent(list.GetItemData(list.FindPlayable(0)));

    const QString out = QFile::decodeName(arguments[0].c_str());
    QString error;
    if (!SaveScenarioFile(out, list, cache, 0, &error)) {
        std::cerr << "kvotool: cannot write " << arguments[0] << ": " << error.toStdString() << "\n";
        return kExitUnreadable;
    }
    return kExitOk;
}

}  // namespace kivo::tool
