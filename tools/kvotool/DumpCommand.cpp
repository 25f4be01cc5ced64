#include "Commands.h"

#include "cutlist/FileNames.h"
#include "cutlist/Formatters.h"
#include "cutlist/ScenarioFile.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>

#include <iostream>
#include <optional>
#include <string>
#include <utility>

namespace kivo::tool {
namespace {

// Writes JSON to standard output piece by piece, as QJsonDocument's
// compact form has it (the caller gives the keys of an object in sorted
// order), without building the document: a scenario can hold a hundred
// thousand objects.
class JsonStream {
public:
    ~JsonStream() { Flush(); }

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    void Key(const char* key)
    {
        Separate();
        m_out += '"';
        m_out += key;
        m_out += "\":";
        m_afterKey = true;
    }
    void Number(qint64 value)
    {
        Separate();
        m_out += std::to_string(value);
    }
    void String(const QString& text)
    {
        Separate();
        if (Plain(text)) {
            m_out += '"';
            const QByteArray bytes = text.toUtf8();
            m_out.append(bytes.constData(), static_cast<size_t>(bytes.size()));
            m_out += '"';
        } else {
            // Escaped as Qt's JSON writer does it: a one-element array of
            // the text, without its brackets.
            const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
            m_out.append(array.constData() + 1, static_cast<size_t>(array.size() - 2));
        }
        if (m_out.size() >= kBlockBytes)
            Flush();
    }
    void Strings(const QStringList& texts)
    {
        BeginArray();
        for (const QString& text : texts)
            String(text);
        EndArray();
    }
    void EndLine() { m_out += '\n'; }

private:
    static constexpr size_t kBlockBytes = 1 << 20;

    // Text that the JSON writer copies as its UTF-8 bytes: no control
    // character, quote or backslash to escape, no surrogate to pair up.
    static bool Plain(const QString& text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 0x20 || c == u'"' || c == u'\\' || c.isSurrogate())
                return false;
        }
        return true;
    }
    void Separate()
    {
        if (std::exchange(m_afterKey, false))
            return;
        if (!std::exchange(m_first, false))
            m_out += ',';
    }
    void Open(char bracket)
    {
        Separate();
        m_out += bracket;
        m_first = true;
    }
    void Close(char bracket)
    {
        m_out += bracket;
        m_first = false;
    }
    void Flush()
    {
        std::cout.write(m_out.data(), static_cast<std::streamsize>(m_out.size()));
        m_out.clear();
    }

    std::string m_out;
    bool m_first = true;
    bool m_afterKey = false;
};

// The scenario as one JSON object with the keys its version has.
void PrintScenarioJson(const Scenario& scenario)
{
    JsonStream json;
    json.BeginObject();
    if (scenario.version >= 20) {
        json.Key("cache");
        json.BeginArray();
        for (const MEDIARECORD& entry : scenario.cache) {
            json.BeginObject();
            json.Key("length");
            json.Number(entry.nLength);
            json.Key("modified");
            json.Number(entry.timeModified);
            json.Key("path");
            json.String(entry.strPath);
            json.Key("size");
            json.Number(static_cast<qint64>(entry.dwSize));
            json.Key("thumbnail_bytes");
            json.Number(entry.dwReserved);
            json.EndObject();
        }
        json.EndArray();
        json.Key("current");
        json.Number(scenario.current);
    }
    if (scenario.version >= 30) {
        json.Key("names");
        json.Strings(scenario.names);
    }
    json.Key("paths");
    json.Strings(scenario.paths);
    if (scenario.version >= 20) {
        json.Key("position");
        json.Number(scenario.position);
    }
    json.Key("version");
    json.Number(scenario.version);
    json.EndObject();
    json.EndLine();
}

std::string UtcTime(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toString(Qt::ISODate).toStdString();
}

void PrintSummary(const QString& file, const Scenario& scenario)
{
    std::cout << Printable(file) << ": Kivo scenario, version " << scenario.version << "\n";
    std::cout << "objects: " << scenario.paths.size() << "\n";
    for (qsizetype i = 0; i < scenario.paths.size(); ++i)
        std::cout << "  " << i << ": " << Printable(scenario.paths[i]) << "\n";
    if (scenario.version >= 20) {
        std::cout << "current object: " << scenario.current << "\n";
        std::cout << "playing position: " << scenario.position << " ("
                  << FormatShortTime(scenario.position).toStdString() << ")\n";
        std::cout << "media information entries: " << scenario.cache.size() << "\n";
        for (size_t i = 0; i < scenario.cache.size(); ++i) {
            const MEDIARECORD& entry = scenario.cache[i];
            std::cout << "  " << i << ": " << (entry.strPath.isEmpty() ? "(empty)" : Printable(entry.strPath)) << "\n"
                      << "     size " << entry.dwSize << " bytes, modified " << UtcTime(entry.timeModified) << " ("
                      << entry.timeModified << "), length " << FormatShortTime(entry.nLength).toStdString() << " ("
                      << entry.nLength << "), thumbnail " << entry.dwReserved << " bytes\n";
        }
    }
    if (scenario.version >= 30) {
        std::cout << "names: " << scenario.names.size() << "\n";
        for (qsizetype i = 0; i < scenario.names.size(); ++i)
            std::cout << "  " << i << ": " << Printable(scenario.names[i]) << "\n";
    }
}

}  // namespace

int RunDump(const std::vector<std::string>& arguments)
{
    bool json = false;
    std::optional<std::string> given;
    for (const std::string& argument : arguments) {
        if (argument == "--json") {
            json = true;
        } else if (!given && (argument.empty() || argument[0] != '-' || argument == "-")) {
            given = argument;
        } else {
            std::cerr << "kvotool dump: unexpected argument '" << argument << "'\n"
                      << "Usage: kvotool dump [--json] FILE.kvo\n";
            return kExitUsage;
        }
    }
    if (!given || given->empty()) {
        std::cerr << "Usage: kvotool dump [--json] FILE.kvo\n";
        return kExitUsage;
    }

    const QString file = FileNameFromBytes(*given);
    const ScenarioReadResult result = ReadScenarioFile(file);
    switch (result.status) {
    case ScenarioStatus::Ok:
        break;
    case ScenarioStatus::UnknownMagic:
        std::cerr << QString::fromUtf8(kUnreadableScenarioMessage).toStdString() << "\n";
        return kExitUnknownMagic;
    default:
        std::cerr << "kvotool: " << Printable(file) << ": " << result.detail.toStdString() << "\n";
        return kExitUnreadable;
    }
    if (json)
        PrintScenarioJson(result.scenario);
    else
        PrintSummary(file, result.scenario);
    return kExitOk;
}

}  // namespace kivo::tool
