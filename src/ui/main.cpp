// Kivo231: the Kivo media player.

#include "ui/Application.h"
#include "ui/Flow.h"
#include "session/CommandLine.h"
#include "session/QuitSignals.h"
#include "core/Settings.h"
#include "cutlist/FileNames.h"
#include "cutlist/ScenarioFile.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <utility>

namespace {

// Tells the usage or the version; false when the line asks for neither.
bool AnswerInformation(const kivo::CommandLine& line)
{
    if (line.request == kivo::CommandLine::Request::Help)
        std::cout << kivo::UsageText().toLocal8Bit().constData();
    else if (line.request == kivo::CommandLine::Request::Version)
        std::cout << kivo::VersionText().toLocal8Bit().constData();
    else
        return false;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    kivo::QuitSignals::HoldBack();
    // The usage and the version are told before a display is opened: they
    // need none.
    if (AnswerInformation(kivo::ReadCommandLine(argc, argv)))
        return 0;
    const std::unique_ptr<QApplication> application = kivo::StartApplication(argc, argv);
    // Read again without Qt's own options, which QApplication has taken out
    // of argv.
    const kivo::CommandLine line = kivo::ReadCommandLine(argc, argv);
    if (line.request == kivo::CommandLine::Request::Error) {
        std::cerr << "Kivo231: " << line.error.toLocal8Bit().constData() << "\nTry 'Kivo231 --help'.\n";
        return 1;
    }
    // A scenario named on the command line is read while the window is made.
    // Its name is taken as bytes, as it need not be UTF-8.
    const QString named = line.fileIndex > 0 ? kivo::FileNameFromBytes(argv[line.fileIndex]) : QString();
    kivo::ScenarioReadAhead readAhead(named);
    kivo::SetUpApplication(*application);
    kivo::QuitSignals quitSignals;
    kivo::Settings settings;
    kivo::Flow flow(settings);
    kivo::MainWindow& window = flow.Window();
    QObject::connect(&quitSignals, &kivo::QuitSignals::quitRequested, &window, &kivo::MainWindow::CloseQuietly);
    // A scenario named on the command line that cannot be read ends the
    // program once its message has been shown.
    bool failed = false;
    if (line.fileIndex > 0) {
        flow.OpenNamedFile(
            named,
            [&failed](bool opened) {
                failed = !opened;
                if (failed)
                    QCoreApplication::exit(1);
            },
            std::move(readAhead));
    }
    if (failed)
        return 1;
    window.show();
    const int status = QApplication::exec();
    if (!flow.Shutdown()) {
        // A pipeline left coming down must not meet the libraries' ends,
        // which the ordinary end of the process runs: the settings are
        // written now, and the process ends at once.
        settings.Sync();
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
