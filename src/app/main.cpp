// Kivo231: the Kivo media player.

#include "MainWindow.h"
#include "Settings.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("KivoProject"));
    QApplication::setApplicationName(QStringLiteral("Kivo231"));
    kivo::Settings settings;
    kivo::MainWindow window(settings);
    window.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        window.OpenDocument(arguments.at(1));
    return QApplication::exec();
}
