#include "core/InterfaceLanguage.h"

#include <QLocale>

namespace kivo {

QString InterfaceLanguage(const QStringList& uiLanguages, const QStringList& translated)
{
    const QString source = QString::fromLatin1(kSourceLanguage);
    for (const QString& name : uiLanguages) {
        if (name == u"C" || name == u"POSIX")
            return source;
        const QLocale::Language language = QLocale(name).language();
        if (language == QLocale::C)  // a name Qt does not know
            continue;
        const QString code = QLocale::languageToCode(language);
        if (code == source || translated.contains(code))
            return code;
    }
    return QStringLiteral("en");
}

}  // namespace kivo
