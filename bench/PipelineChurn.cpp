// Pipeline churn: 1,000 Open/Close cycles of the media engine on one file,
// drawing into a window as the player window does (the video sink of the
// program) when there is a display, and into a fake sink otherwise. Prints
// the resident memory and the threads after the first 10 cycles and at the
// end; the goal is an end within 10 MB of the early figure, with as many
// threads.
//
// Usage: pipeline_churn MEDIA [CYCLES]

#include "ProcessFigures.h"
#include "media/MediaEngine.h"

#include <QApplication>
#include <QFile>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: pipeline_churn MEDIA [CYCLES]\n");
        return 1;
    }
    const QString media = QFile::decodeName(argv[1]);
    const int cycles = argc > 2 ? std::atoi(argv[2]) : 1000;
    kivo::MediaEngine engine;
    std::unique_ptr<QWidget> window;
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        window = std::make_unique<QWidget>();
        window->setAttribute(Qt::WA_NativeWindow);
        window->resize(320, 240);
        window->show();
        engine.SetWindowHandle(window->winId());
    }
    double early = 0.0;
    int earlyThreads = 0;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        if (!kivo::OpenAndWait(engine, media)) {
            std::fprintf(stderr, "pipeline_churn: cannot open the file\n");
            return 1;
        }
        engine.Close();
        engine.WaitForWorker();
        QCoreApplication::processEvents();
        if (cycle == 10) {
            early = kivo::test::ResidentMegabytes();
            earlyThreads = kivo::test::ThreadCount();
        }
    }
    const double end = kivo::test::ResidentMegabytes();
    std::printf("%-44s %11.1f MB %18s %8.1f MB %+7.1f MB %s\n", "pipeline churn: memory after 1,000 cycles", end,
                "after 10 cycles", early, end - early, "<= +10 MB");
    std::printf("%-44s %11d %21s %8d %+10d %s\n", "pipeline churn: threads after 1,000 cycles", kivo::test::ThreadCount(),
                "after 10 cycles", earlyThreads, kivo::test::ThreadCount() - earlyThreads, "+0");
    return 0;
}
