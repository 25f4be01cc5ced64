#include "core/Commands.h"
#include "core/InterfaceLanguage.h"

#include <gtest/gtest.h>

#include <set>

namespace kivo {
namespace {

TEST(Commands, DisabledCommandsDoNothingWhicheverWayTheyComeAndEachHasOneRowWithItsMenuTextAndItsPromptApartFromItsToolTip)
{
    CommandTable table;
    int runs = 0;
    bool enabled = false;
    table.Add(Command::Stop, [&] { ++runs; }, [&] { return enabled; }, [] { return true; });
    table.Add(Command::Mute, [&] { ++runs; });
    EXPECT_FALSE(table.Run(Command::Stop));
    enabled = true;
    EXPECT_TRUE(table.Run(Command::Stop));
    EXPECT_TRUE(table.IsChecked(Command::Stop));
    EXPECT_TRUE(table.Run(Command::Mute));  // no condition: always enabled
    EXPECT_FALSE(table.IsChecked(Command::Mute));
    EXPECT_FALSE(table.Run(Command::About));  // not added
    EXPECT_EQ(runs, 2);

    std::set<Command> seen;
    for (const CommandInfo& info : CommandInfos()) {
        SCOPED_TRACE(static_cast<int>(info.id));
        EXPECT_TRUE(seen.insert(info.id).second);
        EXPECT_EQ(&CommandInfoOf(info.id), &info);
        // Only the player's mute and the speed bar's icon are on no menu.
        EXPECT_TRUE(!CommandText(info.menuText).isEmpty() || info.id == Command::Mute || info.id == Command::NormalSpeed);
        // Neither "prompt\ntool tip" nor "text\tshortcut" in one field.
        for (const char* text : {info.menuText, info.prompt, info.toolTip})
            EXPECT_FALSE(CommandText(text).contains(u'\n') || CommandText(text).contains(u'\t'));
        EXPECT_TRUE(info.toolTip == nullptr || info.prompt != nullptr);
    }
    EXPECT_EQ(CommandInfoOf(Command{}).menuText, nullptr);
}

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
