#pragma once

// Runs the built kvotool and collects what it says.

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>

namespace kivo::test {

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline ToolRun RunKvotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(KVOTOOL_PATH), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

}  // namespace kivo::test
