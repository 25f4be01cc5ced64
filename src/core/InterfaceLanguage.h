#pragma once

#include <QString>
#include <QStringList>

namespace kivo {

// The language Kivo shows its texts in, as a language code ("ja", "en"),
// of the user's interface languages (QLocale::uiLanguages(): LANGUAGE, else
// LC_ALL, LC_MESSAGES or LANG; the most wanted first) and the languages
// Kivo has a translation for. The texts are written in Japanese, so a
// Japanese, C or POSIX locale shows them as they are; otherwise the first
// language with a translation serves, and English when none has one, as
// English is closer to a reader of any other language than Japanese.
QString InterfaceLanguage(const QStringList& uiLanguages, const QStringList& translated);

// The language the program's texts are written in.
inline constexpr char kSourceLanguage[] = "ja";

}  // namespace kivo
