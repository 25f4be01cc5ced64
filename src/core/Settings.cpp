#include "core/Settings.h"

#include <QSettings>

#include <limits>

namespace kivo {
namespace {

const QString kSystemGroup = QStringLiteral("System/");
// The bar layout's key is spelt so on purpose: it is the key stored profiles
// use, and a "corrected" spelling would lose every user's bar layout.
const QString kBarStateKey = QStringLiteral("BarStete");
const QString kRecentFileGroup = QStringLiteral("Recent File List/File%1");

}  // namespace

Settings::Settings()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("KivoProject"), QStringLiteral("Kivo231")))
{
}

Settings::Settings(const QString& iniFile) : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

Settings::~Settings() = default;

int Settings::Get(IntSetting value) const
{
    bool ok = false;
    const qlonglong number = m_settings->value(kSystemGroup + QLatin1String(value.name)).toLongLong(&ok);
    if (!ok || number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        return value.defaultValue;
    return static_cast<int>(number);
}

void Settings::Set(IntSetting value, int number)
{
    m_settings->setValue(kSystemGroup + QLatin1String(value.name), number);
}

QString Settings::Get(StringSetting value) const
{
    const QVariant stored = m_settings->value(kSystemGroup + QLatin1String(value.name));
    if (!stored.isValid())
        return QString::fromUtf8(value.defaultValue);
    // An unquoted text with commas reads back as a list.
    if (stored.typeId() == QMetaType::QStringList)
        return stored.toStringList().join(QStringLiteral(", "));
    return stored.toString();
}

void Settings::Set(StringSetting value, const QString& text)
{
    m_settings->setValue(kSystemGroup + QLatin1String(value.name), text);
}

QByteArray Settings::GetBarState() const
{
    return m_settings->value(kSystemGroup + kBarStateKey).toByteArray();
}

void Settings::SetBarState(const QByteArray& state)
{
    m_settings->setValue(kSystemGroup + kBarStateKey, state);
}

QStringList Settings::GetRecentFiles() const
{
    QStringList files;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const QString file = m_settings->value(kRecentFileGroup.arg(i)).toString();
        if (!file.isEmpty())
            files.append(file);
    }
    return files;
}

void Settings::SetRecentFiles(const QStringList& files)
{
    for (int i = 1; i <= kRecentFileCount; ++i) {
        if (i <= files.size())
            m_settings->setValue(kRecentFileGroup.arg(i), files.at(i - 1));
        else
            m_settings->remove(kRecentFileGroup.arg(i));
    }
}

void Settings::AddRecentFile(const QString& path)
{
    QStringList files = GetRecentFiles();
    files.removeAll(path);
    files.prepend(path);
    SetRecentFiles(files.mid(0, kRecentFileCount));
}

void Settings::RemoveRecentFile(const QString& path)
{
    QStringList files = GetRecentFiles();
    files.removeAll(path);
    SetRecentFiles(files);
}

QString Settings::FileName() const
{
    return m_settings->fileName();
}

void Settings::Sync()
{
    m_settings->sync();
}

}  // namespace kivo
