#include "ui/Application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kivo {

void SetUpApplication(QApplication& application)
{
    QApplication::setOrganizationName(QStringLiteral("KivoProject"));
    QApplication::setApplicationName(QStringLiteral("Kivo231"));
    // Asking for the player window's native window, which the video sink
    // draws into, would otherwise give every widget of the main window a
    // native window too: an X window each, made, mapped and exposed at
    // start-up.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    // The PNG needs no image plug-in, which would be looked for at start-up.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kivo-48.png")));
    // Desktops that find the icon through the desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("kivo"));
    // The interface is Japanese, Qt's own buttons and dialogs included.
    auto* qtTexts = new QTranslator(&application);
    if (qtTexts->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtTexts);
}

}  // namespace kivo
