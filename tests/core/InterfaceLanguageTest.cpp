#include "core/InterfaceLanguage.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

QString LanguageOf(const QStringList& uiLanguages)
{
    return InterfaceLanguage(uiLanguages, {QStringLiteral("en")});
}

TEST(InterfaceLanguage, JapaneseAndTheCLocaleShowTheSourceTexts)
{
    // QLocale::uiLanguages() of LANG=ja_JP.UTF-8, LANG=C (or C.UTF-8, POSIX),
    // and LANGUAGE=ja:en.
    EXPECT_EQ(LanguageOf({"ja-JP", "ja-Jpan-JP", "ja"}), "ja");
    EXPECT_EQ(LanguageOf({"C"}), "ja");
    EXPECT_EQ(LanguageOf({"POSIX"}), "ja");
    EXPECT_EQ(LanguageOf({"ja", "ja-Jpan-JP", "ja-JP", "en", "en-Latn-US", "en-US"}), "ja");
}

TEST(InterfaceLanguage, TheFirstTranslatedLanguageServesAndEnglishStandsInForTheOthers)
{
    EXPECT_EQ(LanguageOf({"en-US", "en-Latn-US", "en"}), "en");
    EXPECT_EQ(LanguageOf({"en-GB"}), "en");
    // LANGUAGE=de:ja: German has no translation, so the next language serves.
    EXPECT_EQ(InterfaceLanguage({"de", "ja"}, {"en", "fr"}), "ja");
    EXPECT_EQ(InterfaceLanguage({"de-DE", "fr-FR"}, {"en", "fr"}), "fr");
    // Nothing Kivo has texts for, or names Qt does not know.
    EXPECT_EQ(LanguageOf({"de-DE", "de"}), "en");
    EXPECT_EQ(LanguageOf({"xx", ""}), "en");
    EXPECT_EQ(LanguageOf({}), "en");
}

}  // namespace
}  // namespace kivo
