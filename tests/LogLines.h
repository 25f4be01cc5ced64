#pragma once

// What the program logs while a test runs a step.

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace kivo::test {

struct LogLine {
    QtMsgType type;
    QString category;
    QString text;
};

// The messages logged, from any thread, while `run` runs; each category
// logs at the levels its rules let through.
inline std::vector<LogLine> LoggedWhile(const std::function<void()>& run)
{
    static std::mutex mutex;
    static std::vector<LogLine> lines;
    lines.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            const std::lock_guard lock(mutex);
            lines.push_back({type, QString::fromLatin1(context.category ? context.category : ""), text});
        });
    run();
    qInstallMessageHandler(previous);
    const std::lock_guard lock(mutex);
    return std::exchange(lines, {});
}

// The warnings of `category` among `lines` that name `path`.
inline int WarningsNaming(const std::vector<LogLine>& lines, const QString& category, const QString& path)
{
    return static_cast<int>(std::ranges::count_if(lines, [&](const LogLine& line) {
        return line.type == QtWarningMsg && line.category == category && line.text.contains(path);
    }));
}

}  // namespace kivo::test
