#include "KvotoolRun.h"
#include "ScenarioSamples.h"
#include "TestFiles.h"
#include "cutlist/FileNames.h"
#include "cutlist/ScenarioFile.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace kivo {
namespace {

using test::RunKvotool;
using test::ToolRun;

class Kvotool : public ::testing::Test {
protected:
    QString File(const QString& name, const QByteArray& bytes)
    {
        EXPECT_TRUE(test::WriteFile(m_folder.filePath(name), bytes));
        return m_folder.filePath(name);
    }

private:
    QTemporaryDir m_folder;
};

// What QJsonDocument makes of the scenario, each version with its own keys:
// the form the streamed output keeps. The values are the reader's.
std::string DocumentJson(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const Scenario scenario = ReadScenario(buffer).scenario;
    QJsonObject json{{"version", scenario.version}, {"paths", QJsonArray::fromStringList(scenario.paths)}};
    if (scenario.version >= 20) {
        json["current"] = scenario.current;
        json["position"] = scenario.position;
        QJsonArray cache;
        for (const MEDIARECORD& entry : scenario.cache) {
            cache.append(QJsonObject{{"path", entry.strPath}, {"size", static_cast<qint64>(entry.dwSize)},
                                     {"modified", entry.timeModified}, {"length", entry.nLength},
                                     {"thumbnail_bytes", qint64{entry.dwReserved}}});
        }
        json["cache"] = cache;
    }
    if (scenario.version >= 30)
        json["names"] = QJsonArray::fromStringList(scenario.names);
    return QJsonDocument(json).toJson(QJsonDocument::Compact).toStdString() + "\n";
}

TEST_F(Kvotool, JsonIsByteForByteWhatTheJsonDocumentWrites)
{
    // Texts to escape: controls, a quote, a backslash, a lone surrogate
    // (the byte 0xFF), a surrogate pair and DEL.
    const QString odd = FileNameFromBytes("/m/\x01\t\"q\"\\b\xff") + QStringLiteral("\U0001F600\x7f.mpg");
    std::vector<QByteArray> files = samples::AllSamples();
    files.push_back(samples::Bytes().Str("KivoDSv30").I32(1).Append(samples::Wide(odd)).I32(-1).I32(-5).I32(0)
                        .Append(samples::Wide(odd)).U32(7).I32(-2).I32(3).U32(0).Append(samples::Wide(odd)).Data());
    for (const QByteArray& bytes : files) {
        const ToolRun run = RunKvotool({"dump", "--json", File("same.kvo", bytes)});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, DocumentJson(bytes));
    }
}

TEST_F(Kvotool, SummaryNamesEveryPart)
{
    const ToolRun run = RunKvotool({"dump", File("list.kvo", samples::Version30File())});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* part : {"version 30", "/m/ビデオ.mpg", "current object: 1", "1m00s", "6144 bytes", "ﾃｽﾄ"})
        EXPECT_NE(run.out.find(part), std::string::npos) << part;
}

TEST_F(Kvotool, ExitStatusesOfUsageErrorsAndBadFiles)
{
    for (const QStringList& wrong : {QStringList(), {"dump"}, {"dump", "--xml", "a.kvo"}, {"frobnicate"}})
        EXPECT_EQ(RunKvotool(wrong).exitCode, 1) << wrong.join(' ').toStdString();
    EXPECT_NE(RunKvotool({"--help"}).out.find("dump [--json] FILE.kvo"), std::string::npos);

    // A text too short for a magic is not a scenario either.
    for (const QByteArray& text : {QByteArray("\x09KivoDSv99 and more"), QByteArray("todo\n")}) {
        const ToolRun run = RunKvotool({"dump", File("text.kvo", text)});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, "このファイルは読み込めませんでした。\n");
    }
    // Any other failure of the reader: the file's name and the reader's detail.
    const QString cut = File("short.kvo", samples::Version30File().left(40));
    const ToolRun run = RunKvotool({"dump", "--json", cut});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_NE(run.err.find(cut.toStdString() + ": the file ends early"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
}

TEST_F(Kvotool, NamesPrintAsWhatTheyHold)
{
    // A path with an escape sequence and a new line, and one with the byte
    // 0xFF, which only the wide form holds.
    const QString odd = FileNameFromBytes("/m/bad\xff.avi");
    const QString file = File(
        "odd.kvo", samples::Bytes().Str("KivoDSv10").I32(2).Str("/m/\x1b[2Jred\nx.avi").Append(samples::Wide(odd)).Data());

    const ToolRun text = RunKvotool({"dump", file});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_EQ(text.out.find('\x1b'), std::string::npos);
    EXPECT_NE(text.out.find("  0: /m/\\x1b[2Jred\\nx.avi\n  1: /m/bad\\xff.avi\n"), std::string::npos) << text.out;

    const ToolRun json = RunKvotool({"dump", "--json", file});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_NE(json.out.find(R"("/m/bad\udcff.avi")"), std::string::npos) << json.out;
    const QJsonArray paths = QJsonDocument::fromJson(QByteArray::fromStdString(json.out))["paths"].toArray();
    EXPECT_EQ(paths, QJsonArray({QStringLiteral("/m/\x1b[2Jred\nx.avi"), odd}));
}

}  // namespace
}  // namespace kivo
