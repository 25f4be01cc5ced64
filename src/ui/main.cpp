// Kivo231: the Kivo media player.

#include "ui/Application.h"
#include "ui/Flow.h"
#include "session/QuitSignals.h"
#include "core/Settings.h"
#include "cutlist/FileNames.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    kivo::SetUpApplication(application);
    kivo::QuitSignals quitSignals;
    kivo::Settings settings;
    kivo::Flow flow(settings);
    kivo::MainWindow& window = flow.Window();
    QObject::connect(&quitSignals, &kivo::QuitSignals::quitRequested, &window, &kivo::MainWindow::CloseQuietly);
    // A scenario named on the command line that cannot be read ends the
    // program once its message has been shown. Its name is taken as bytes
    // (QApplication has removed its own options from argv), as it need not
    // be UTF-8.
    bool failed = false;
    if (argc > 1) {
        window.OpenDocument(kivo::FileNameFromBytes(argv[1]), [&failed](bool opened) {
            failed = !opened;
            if (failed)
                QCoreApplication::exit(1);
        });
    }
    if (failed)
        return 1;
    window.show();
    return QApplication::exec();
}
