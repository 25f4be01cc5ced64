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

// The values are the reader's; the tool shows each under its key, and only
// the keys the file's version has.
TEST_F(Kvotool, JsonHoldsTheKeysOfTheFilesVersion)
{
    const std::pair<QByteArray, const char*> cases[] = {
        {samples::Version10File(), R"({"version": 10, "paths": ["/m/a.mpg", "/m/b.avi"]})"},
        {samples::Version30File(), R"({"version": 30,
            "paths": ["/m/ビデオ.mpg", "/m/café.mpg", "/m/x.wav"], "current": 1, "position": 250, "cache": [
              {"path": "/m/ビデオ.mpg", "size": 1234, "modified": 921000000, "length": 6000, "thumbnail_bytes": 12288},
              {"path": "/m/café.mpg", "size": 99, "modified": 5, "length": 500, "thumbnail_bytes": 6144},
              {"path": "", "size": 0, "modified": 0, "length": 0, "thumbnail_bytes": 0}],
            "names": ["名前", "ﾃｽﾄ", " "]})"},
    };
    for (const auto& [bytes, expected] : cases) {
        const ToolRun run = RunKvotool({"dump", "--json", File("dump.kvo", bytes)});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out.back(), '\n');
        EXPECT_EQ(nlohmann::json::parse(run.out), nlohmann::json::parse(expected));
    }
}

// What QJsonDocument makes of the scenario: the form the streamed output keeps.
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
    const ToolRun help = RunKvotool({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("dump [--json] FILE.kvo"), std::string::npos);

    ToolRun run = RunKvotool({"dump", File("text.kvo", "\x09KivoDSv99 and more")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, "このファイルは読み込めませんでした。\n");
    // A text too short for a magic is not a scenario either.
    run = RunKvotool({"dump", File("notes.kvo", "todo\n")});
    EXPECT_EQ(run.exitCode, 2);

    // Any other failure of the reader: the file's name and the reader's detail.
    const QString cut = File("short.kvo", samples::Version30File().left(40));
    run = RunKvotool({"dump", "--json", cut});
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
