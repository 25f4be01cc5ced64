#include "ui/Application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kivo {

void SetUpApplication(QApplication& application)
{
    QApplication::setOrganizationName(QStringLiteral("KivoProject"));
    QApplication::setApplicationName(QStringLiteral("Kivo231"));
    // The interface is Japanese, Qt's own buttons and dialogs included.
    auto* qtTexts = new QTranslator(&application);
    if (qtTexts->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtTexts);
}

}  // namespace kivo
