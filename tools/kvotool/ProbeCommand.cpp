#include "Commands.h"

#include "cutlist/FileNames.h"
#include "media/Examination.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>

#include <iostream>
#include <vector>

namespace kivo::tool {
namespace {

// The fields of one examined file, in the order the text output shows them.
std::vector<std::pair<QString, QJsonValue>> Fields(const Examination& examined)
{
    return {
        {"path", examined.object.record.strPath},
        {"flag", examined.object.record.nFlag},
        {"length", examined.object.record.nLength},
        {"size", static_cast<qint64>(examined.object.record.dwSize)},
        {"modified", examined.object.record.timeModified},
        {"type", examined.typeText},
        {"has_video", examined.hasVideo},
        {"has_audio", examined.hasAudio},
        {"width", examined.videoSize.isValid() ? examined.videoSize.width() : 0},
        {"height", examined.videoSize.isValid() ? examined.videoSize.height() : 0},
    };
}

}  // namespace

int RunProbe(const std::vector<std::string>& arguments)
{
    static const char usage[] = "Usage: kvotool probe [--json] [--thumbnails DIR] MEDIA...\n";
    bool json = false;
    QString thumbnails;
    std::vector<QString> files;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--json") {
            json = true;
        } else if (arguments[i] == "--thumbnails" && i + 1 < arguments.size()) {
            thumbnails = FileNameFromBytes(arguments[++i]);
        } else if (!arguments[i].empty() && arguments[i][0] == '-') {
            std::cerr << "kvotool probe: unexpected argument '" << arguments[i] << "'\n" << usage;
            return kExitUsage;
        } else {
            files.push_back(FileNameFromBytes(arguments[i]));
        }
    }
    if (files.empty()) {
        std::cerr << usage;
        return kExitUsage;
    }
    // QDir would make the folder under another name than one that is not UTF-8.
    if (!thumbnails.isEmpty() && (HasUndecodableBytes(thumbnails) || !QDir().mkpath(thumbnails))) {
        std::cerr << "kvotool: cannot make the folder " << Printable(thumbnails) << "\n";
        return kExitUnreadable;
    }

    // Files are examined by the cut list's pool of workers; each result is
    // what a lone examination gives.
    const std::vector<Examination> results = ExaminationPool().ExamineAll(QStringList(files.begin(), files.end()));

    QJsonArray all;
    for (size_t i = 0; i < files.size(); ++i) {
        const Examination& examined = results[i];
        if (!thumbnails.isEmpty()) {
            const QString picture = QStringLiteral("%1/%2.png").arg(thumbnails).arg(i);
            if (!examined.object.picture.save(picture, "PNG")) {
                std::cerr << "kvotool: cannot write " << Printable(picture) << "\n";
                return kExitUnreadable;
            }
        }
        const auto fields = Fields(examined);
        if (json) {
            QJsonObject entry;
            for (const auto& [key, value] : fields)
                entry[key] = value;
            all.append(entry);
            continue;
        }
        for (const auto& [key, value] : fields) {
            std::cout << key.toStdString() << ": "
                      << (value.isString() ? Printable(value.toString())
                          : value.isBool() ? (value.toBool() ? "true" : "false")
                                           : QString::number(value.toInteger()).toStdString())
                      << "\n";
        }
        std::cout << "\n";
    }
    if (json)
        PrintJson(all);
    return kExitOk;
}

}  // namespace kivo::tool
