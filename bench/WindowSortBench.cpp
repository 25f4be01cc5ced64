// Sorting and shuffling a 100,000-object cut list in the real main window:
// the time from the command until the list has been repainted, beside the
// time the display-free sort alone takes on the same list. Goal: under one
// second each, in every view mode.

#include "ui/Flow.h"
#include "core/Settings.h"
#include "ui/CutListView.h"
#include "cutlist/Sorting.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kObjects = 100000;

double MillisecondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QTemporaryDir folder;
    kivo::Settings settings(folder.filePath("Kivo231.ini"));
    settings.Set(kivo::setting::kFileType, 1);
    kivo::Flow flow(settings);
    kivo::MainWindow& window = flow.Window();
    window.resize(1000, 700);
    window.show();

    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    for (int i = 0; i < kObjects; ++i) {
        kivo::MEDIARECORD record;
        // Names in no order, media times, sizes and dates all different.
        const int key = static_cast<int>((static_cast<quint64>(i) * 7919) % kObjects);
        record.strPath = QStringLiteral("/media/clips/clip-%1.mpg").arg(key);
        record.timeModified = 1000000000 + key * 60;
        record.dwSize = 1000 + static_cast<quint64>(key) * 37;
        record.nLength = key % 360000;
        window.List().AddObject(record, picture, false);
    }
    auto* view = window.findChild<kivo::CutListView*>();
    const auto repainted = [&] {
        QCoreApplication::processEvents();
        view->ActiveView()->viewport()->repaint();
    };
    repainted();

    std::printf("%-48s %10s %22s %10s  %s\n", "figure", "measured", "reference", "", "goal");
    const double core = MillisecondsOf([&] { kivo::SortedOrder(window.List(), kivo::SortKey::Name, false); });
    const std::pair<kivo::Command, const char*> modes[] = {{kivo::Command::LargeIcons, "large icons"},
                                                           {kivo::Command::Details, "details"}};
    for (const auto& [mode, name] : modes) {
        window.Commands().Run(mode);
        repainted();
        const std::pair<kivo::Command, const char*> commands[] = {{kivo::Command::SortByName, "sort by name"},
                                                                  {kivo::Command::Shuffle, "random order"}};
        for (const auto& [command, what] : commands) {
            const double took = MillisecondsOf([&, command = command] {
                window.Commands().Run(command);
                repainted();
            });
            std::printf("%-48s %7.0f ms %22s %7.0f ms  < 1000 ms\n",
                        QStringLiteral("%1 of 100,000 in the window, %2").arg(what, name).toUtf8().constData(),
                        took, "the name sort alone", core);
        }
    }
    window.Document().SetModified(false);
    return 0;
}
