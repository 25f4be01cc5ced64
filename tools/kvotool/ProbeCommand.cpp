#include "Commands.h"

#include "player/Examination.h"
#include "player/MediaEngine.h"

#include <nlohmann/json.hpp>

#include <QDir>
#include <QFile>

#include <algorithm>
#include <atomic>
#include <iostream>
#include <thread>
#include <vector>

namespace kivo::tool {
namespace {

using Json = nlohmann::ordered_json;

Json ToJson(const Examination& examined)
{
    return {
        {"path", examined.record.strPath.toStdString()},
        {"flag", examined.flag},
        {"length", examined.record.nLength},
        {"size", examined.record.dwSize},
        {"modified", examined.record.timeModified},
        {"type", examined.typeText.toStdString()},
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
            thumbnails = QFile::decodeName(arguments[++i].c_str());
        } else if (!arguments[i].empty() && arguments[i][0] == '-') {
            std::cerr << "kvotool probe: unexpected argument '" << arguments[i] << "'\n" << usage;
            return kExitUsage;
        } else {
            files.push_back(QFile::decodeName(arguments[i].c_str()));
        }
    }
    if (files.empty()) {
        std::cerr << usage;
        return kExitUsage;
    }
    if (!thumbnails.isEmpty() && !QDir().mkpath(thumbnails)) {
        std::cerr << "kvotool: cannot make the folder " << thumbnails.toStdString() << "\n";
        return kExitUnreadable;
    }

    // Files are examined by a few workers at once, each with a preview
    // engine of its own; each result is what a lone examination gives.
    std::vector<Examination> results(files.size());
    std::atomic<size_t> next{0};
    const auto work = [&] {
        MediaEngine preview;
        for (size_t i = next++; i < files.size(); i = next++)
            results[i] = ExamineMediaFile(preview, files[i]);
    };
    std::vector<std::thread> workers;
    const unsigned count = std::max(1u, std::min(std::thread::hardware_concurrency(), 4u));
    for (unsigned i = 0; i < count; ++i)
        workers.emplace_back(work);
    for (std::thread& worker : workers)
        worker.join();

    Json all = Json::array();
    for (size_t i = 0; i < files.size(); ++i) {
        const Examination& examined = results[i];
        if (!thumbnails.isEmpty()) {
            const QString picture = QStringLiteral("%1/%2.png").arg(thumbnails).arg(i);
            if (!examined.picture.save(picture, "PNG")) {
                std::cerr << "kvotool: cannot write " << picture.toStdString() << "\n";
                return kExitUnreadable;
            }
        }
        Json entry = ToJson(examined);
        if (json) {
            all.push_back(std::move(entry));
            continue;
        }
        for (const auto& [key, value] : entry.items())
            std::cout << key << ": " << (value.is_string() ? value.get<std::string>() : value.dump()) << "\n";
        std::cout << "\n";
    }
    if (json)
        std::cout << all.dump(-1, ' ', false, Json::error_handler_t::replace) << "\n";
    return kExitOk;
}

}  // namespace kivo::tool
