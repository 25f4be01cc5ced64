#include "core/InterfaceLanguage.h"

#include <gtest/gtest.h>

namespace kivo {
namespace {

// The uiLanguages() of LANG=ja_JP.UTF-8, LANG=C (or POSIX), LANGUAGE=ja:en
// and of English show the source texts or the English ones; a language
// without a translation gives way to the next one, and English stands in
// for the rest, and for names Qt does not know.
TEST(InterfaceLanguage, JapaneseAndTheCLocaleShowTheSourceTextsAndTheFirstTranslatedLanguageServes)
{
    const std::pair<QStringList, const char*> cases[] = {
        {{"ja-JP", "ja-Jpan-JP", "ja"}, "ja"}, {{"POSIX"}, "ja"}, {{"ja", "en-US"}, "ja"}, {{"en-GB"}, "en"},
        {{"de", "ja"}, "ja"}, {{"de-DE", "fr-FR"}, "fr"}, {{"de-DE", "de"}, "en"}, {{"xx", ""}, "en"}, {{}, "en"}};
    for (const auto& [uiLanguages, language] : cases)
        EXPECT_EQ(InterfaceLanguage(uiLanguages, {"en", "fr"}), language) << uiLanguages.join(u':').toStdString();
}

}  // namespace
}  // namespace kivo
