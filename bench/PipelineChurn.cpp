// Pipeline churn: 1,000 Open/Close cycles of the media engine on one file.
// Prints the resident memory after the first 10 cycles and at the end; the
// goal is an end within 10 MB of the early figure.
//
// Usage: pipeline_churn MEDIA [CYCLES]

#include "player/MediaEngine.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

double ResidentMegabytes()
{
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: pipeline_churn MEDIA [CYCLES]\n");
        return 1;
    }
    const QString media = QFile::decodeName(argv[1]);
    const int cycles = argc > 2 ? std::atoi(argv[2]) : 1000;
    kivo::MediaEngine engine;
    double early = 0.0;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        if (!engine.Open(media)) {
            std::fprintf(stderr, "pipeline_churn: cannot open the file\n");
            return 1;
        }
        engine.Close();
        QCoreApplication::processEvents();
        if (cycle == 10)
            early = ResidentMegabytes();
    }
    const double end = ResidentMegabytes();
    std::printf("%-44s %11.1f MB %18s %8.1f MB %+7.1f MB %s\n", "pipeline churn: memory after 1,000 cycles", end,
                "after 10 cycles", early, end - early, "<= +10 MB");
    return 0;
}
