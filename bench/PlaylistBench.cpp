// Speed of reading other players' playlists into a list of paths: a
// 100,000-entry M3U8 and a 100,000-entry XSPF (each entry with a title and
// a length, a third of the paths Japanese), generated at bench time, beside
// `wc -l` of the same M3U8 in the same run, and beside the least a reader
// that gives each path and title a QString of its own can cost: the M3U8's
// lines each decoded into a QString. Each figure is the best of several
// runs with warm caches. Goal: at most 3x wc -l for the M3U8.
//
// Usage: playlist_bench DIR

#include "CommandTime.h"
#include "cutlist/FileNames.h"
#include "cutlist/Playlists.h"

#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QStringList>


#include <algorithm>
#include <cstdio>

namespace {

constexpr int kEntries = 100000;
constexpr int kRuns = 5;

std::vector<kivo::PlaylistEntry> Entries()
{
    static const char16_t* const folders[] = {u"/home/user/Music/Album", u"/home/user/音楽/旅行 2019",
                                              u"/media/usb/DCIM/100CANON"};
    std::vector<kivo::PlaylistEntry> entries;
    for (int i = 0; i < kEntries; ++i) {
        const QString name = QStringLiteral("track_%1").arg((i * 7919) % 100003, 6, 10, QLatin1Char('0'));
        entries.push_back({QString::fromUtf16(folders[i % 3]) + u'/' + name + QStringLiteral(".mp3"), name,
                           double(120 + i % 300)});
    }
    return entries;
}

double WcSeconds(const QString& file)
{
    const QByteArray path = QFile::encodeName(file);
    const char* argv[] = {"wc", "-l", path.constData(), nullptr};
    return kivo::bench::CommandSeconds(argv);
}

// The best time of reading a playlist into its paths.
double ReadSeconds(const QString& file, qsizetype* count)
{
    double best = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        const kivo::PlaylistReadResult result = kivo::ReadPlaylistFile(file);
        QStringList paths;
        paths.reserve(qsizetype(result.reading.entries.size()));
        for (const kivo::PlaylistEntry& entry : result.reading.entries)
            paths.append(entry.path);
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e9);
        *count = paths.size();
    }
    return best;
}

// Reading the file and decoding each of its lines into a QString, kept
// until all are read.
double DecodeLinesSeconds(const QString& file)
{
    double best = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        QFile input(file);
        if (!input.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray bytes = input.readAll();
        std::vector<QString> lines;
        for (qsizetype at = 0; at < bytes.size();) {
            const qsizetype newline = bytes.indexOf('\n', at);
            const qsizetype end = newline < 0 ? bytes.size() : newline;
            lines.push_back(QString::fromUtf8(QByteArrayView(bytes).sliced(at, end - at)));
            at = end + 1;
        }
        lines = {};
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: playlist_bench DIR\n");
        return 1;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(folder.path());
    const std::vector<kivo::PlaylistEntry> entries = Entries();
    const QString m3u8 = folder.filePath(QStringLiteral("bench.m3u8"));
    const QString xspf = folder.filePath(QStringLiteral("bench.xspf"));
    for (const QString& playlist : {m3u8, xspf}) {
        if (const std::optional<kivo::WriteFailure> failure = kivo::WritePlaylistFile(playlist, entries)) {
            std::fprintf(stderr, "cannot write the playlists in %s: %s\n", argv[1], qPrintable(failure->detail));
            return 1;
        }
    }
    double wc = 1e9;
    WcSeconds(m3u8);  // warms the caches
    for (int run = 0; run < kRuns; ++run)
        wc = std::min(wc, WcSeconds(m3u8));
    qsizetype m3u8Paths = 0;
    qsizetype xspfPaths = 0;
    const double readM3u8 = ReadSeconds(m3u8, &m3u8Paths);
    const double readXspf = ReadSeconds(xspf, &xspfPaths);
    const double lines = DecodeLinesSeconds(m3u8);
    std::printf("reading a playlist into %lld paths: M3U8 %.1f ms, ratio %.2fx (goal: at most 3x); XSPF %.1f ms "
                "(%lld paths), ratio %.2fx; wc -l of the M3U8: %.1f ms; each of its lines decoded into a QString: "
                "%.1f ms (M3U8 %.2fx of that)\n",
                static_cast<long long>(m3u8Paths), readM3u8 * 1e3, readM3u8 / wc, readXspf * 1e3,
                static_cast<long long>(xspfPaths), readXspf / wc, wc * 1e3, lines * 1e3, readM3u8 / lines);
    return 0;
}
