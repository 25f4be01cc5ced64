#pragma once

// Runs the built kvotool and collects what it says.

#include <QList>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace kivo::test {

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The arguments reach the tool as these very bytes (QProcess would pass
// them through UTF-8), in `folder` when one is given.
inline ToolRun RunKvotoolBytes(const QList<QByteArray>& arguments, const QString& folder = {})
{
    QList<QByteArray> bytes{KVOTOOL_PATH};
    bytes += arguments;
    std::vector<char*> argv;
    for (QByteArray& argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setChildProcessModifier([&argv] {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    });
    process.start(QStringLiteral(KVOTOOL_PATH), {});
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

inline ToolRun RunKvotool(const QStringList& arguments, const QString& folder = {})
{
    QList<QByteArray> bytes;
    for (const QString& argument : arguments)
        bytes.append(argument.toUtf8());
    return RunKvotoolBytes(bytes, folder);
}

}  // namespace kivo::test
