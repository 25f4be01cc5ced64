#include "ui/Application.h"

#include "core/InterfaceLanguage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <fontconfig/fontconfig.h>

#include <thread>

namespace kivo {
namespace {

// The session bus's address that D-Bus refuses at once.
constexpr char kNoBusAddress[] = "disabled:";

// Where the build puts Kivo's translations, "kivo_<language>.qm".
const QString kTranslations = QStringLiteral(":/translations");

// The languages Kivo has a translation for.
QStringList TranslatedLanguages()
{
    QStringList languages;
    for (const QString& file : QDir(kTranslations).entryList({QStringLiteral("kivo_*.qm")}, QDir::Files))
        languages.append(file.mid(5, file.size() - 8));
    return languages;
}

// Installs the translation `name` of `directory` for as long as `parent` lives.
void Install(const QString& name, const QString& directory, QObject* parent)
{
    auto* translator = new QTranslator(parent);
    if (translator->load(name, directory))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

}  // namespace

InterfaceTexts::InterfaceTexts(const QStringList& uiLanguages, QObject* parent)
    : QObject(parent), m_language(InterfaceLanguage(uiLanguages, TranslatedLanguages()))
{
    if (m_language != QLatin1String(kSourceLanguage))
        Install(QStringLiteral("kivo_") + m_language, kTranslations, this);
    Install(QStringLiteral("qtbase_") + m_language, QLibraryInfo::path(QLibraryInfo::TranslationsPath), this);
}

bool SessionHasBus()
{
    const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    if (!address.isEmpty())
        return address != kNoBusAddress;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFile::exists(runtime + QStringLiteral("/bus"));
}

std::unique_ptr<QApplication> StartApplication(int& argc, char** argv)
{
    if (!SessionHasBus())
        qputenv("DBUS_SESSION_BUS_ADDRESS", kNoBusAddress);
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    // Fontconfig keeps what it reads for the process, and Qt asks it for
    // the same configuration later.
    std::jthread fontConfiguration([] { FcInit(); });
    auto application = std::make_unique<QApplication>(argc, argv);
    fontConfiguration.join();
    return application;
}

void SetUpApplication(QApplication& application)
{
    QApplication::setOrganizationName(QStringLiteral("KivoProject"));
    QApplication::setApplicationName(QStringLiteral("Kivo231"));
    // Asking for the player window's native window, which the video sink
    // draws into, would otherwise give every widget of the main window a
    // native window too: an X window each, made, mapped and exposed at
    // start-up.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kivo-48.png")));
    // Desktops that find the icon through the desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("kivo"));
    new InterfaceTexts(QLocale().uiLanguages(), &application);
}

}  // namespace kivo
