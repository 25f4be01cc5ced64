#include "session/CommandLine.h"

#include <QCommandLineParser>
#include <QStringList>

namespace kivo {

CommandLine ReadCommandLine(int argc, const char* const* argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({help, version});
    // "-reverse" and "-platformtheme" are Qt's, not letters of ours.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const bool parsed = parser.parse(arguments);
    CommandLine line;
    if (parser.isSet(help)) {
        line.request = CommandLine::Request::Help;
    } else if (parser.isSet(version)) {
        line.request = CommandLine::Request::Version;
    } else if (!parsed) {
        line.request = CommandLine::Request::Error;
        const QString name = parser.unknownOptionNames().value(0);
        line.error = QStringLiteral("unknown option '%1%2'").arg(name.size() == 1 ? "-" : "--", name);
    } else if (parser.positionalArguments().size() > 1) {
        line.request = CommandLine::Request::Error;
        line.error = QStringLiteral("more than one file: '%1'").arg(parser.positionalArguments().at(1));
    } else if (!parser.positionalArguments().isEmpty()) {
        // The file is the one argument left once the "--" before it, if
        // any, is passed over (options would have ended in an answer).
        line.fileIndex = arguments.indexOf(QStringLiteral("--")) == 1 ? 2 : 1;
    }
    return line;
}

QString UsageText()
{
    return QStringLiteral(
        "Usage: Kivo231 [OPTION] [FILE]\n"
        "Plays cut lists of media files. FILE is a scenario file (.kvo) to open, a\n"
        "playlist (.m3u, .m3u8, .pls, .xspf) to open as a new cut list, or a media\n"
        "file (.mp4, .mkv, .flac, ...) to add and play; without it the cut list is\n"
        "empty. A FILE whose name begins with \"-\" follows \"--\".\n"
        "\n"
        "  -h, --help     show this help and exit\n"
        "  -v, --version  show the version and exit\n"
        "\n"
        "Qt's own options (-platform, -display, -style, ...) are taken too.\n");
}

QString VersionText()
{
    return QStringLiteral("Kivo231 (Kivo) " KIVO_VERSION "\n");
}

}  // namespace kivo
