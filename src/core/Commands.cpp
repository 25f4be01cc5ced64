#include "core/Commands.h"

#include "core/Settings.h"

#include <algorithm>

namespace kivo {
namespace {

using enum Command;

// Menu text, shortcut, prompt, tool tip and picture of every command.
constexpr CommandInfo kCommands[] = {
    {NewFile, u"新規作成(&N)", u"Ctrl+N", u"新規にﾌｧｲﾙを作成", u"新規ﾌｧｲﾙ", Picture::File},
    {OpenFile, u"開く(&O)...", u"Ctrl+O", u"既存のﾌｧｲﾙを開く", u"開く", Picture::Open},
    {OpenMediaFiles, u"ﾒﾃﾞｨｱﾌｧｲﾙを開く(&I)...", {}, u"ｶｯﾄﾘｽﾄにﾒﾃﾞｨｱﾌｧｲﾙを挿入", u"ﾒﾃﾞｨｱﾌｧｲﾙ"},
    {SaveFile, u"上書き保存(&S)", u"Ctrl+S", u"作業中のﾌｧｲﾙを保存", u"保存", Picture::Save},
    {SaveFileAs, u"名前を付けて保存(&A)...", {}, u"作業中のﾌｧｲﾙに名前を付けて保存", u"名前をつけて保存"},
    {ExportPlaylist, u"ﾌﾟﾚｲﾘｽﾄのｴｸｽﾎﾟｰﾄ(&E)...", {}, u"ｶｯﾄﾘｽﾄを他のﾌﾟﾚｲﾔ用のﾌﾟﾚｲﾘｽﾄとして保存", u"ﾌﾟﾚｲﾘｽﾄのｴｸｽﾎﾟｰﾄ"},
    // The recent-file entries name their files; this is the text of an
    // empty list.
    {RecentFile1, u"最新のﾌｧｲﾙ", {}, u"指定のﾌｧｲﾙを開く", {}},
    {RecentFile2, u"最新のﾌｧｲﾙ", {}, u"指定のﾌｧｲﾙを開く", {}},
    {RecentFile3, u"最新のﾌｧｲﾙ", {}, u"指定のﾌｧｲﾙを開く", {}},
    {RecentFile4, u"最新のﾌｧｲﾙ", {}, u"指定のﾌｧｲﾙを開く", {}},
    {Exit, u"終了(&X)", {}, u"Kivoを終了し、ﾌｧｲﾙの保存を指示", u"終了"},

    {DeleteInvalid, u"無効を削除(&D)", {}, u"無効なｵﾌﾞｼﾞｪｸﾄをすべて削除", u"無効を削除", Picture::Discard},
    {DeleteAll, u"すべて削除(&A)", {}, u"ｵﾌﾞｼﾞｪｸﾄをすべて削除", u"すべて削除", Picture::Trash},
    {NameAllByFileName, u"ﾌｧｲﾙ名(&F)", {}, u"すべてのｵﾌﾞｼﾞｪｸﾄの名前をﾌｧｲﾙ名に変更", {}},
    {NameAllByPath, u"ﾊﾟｽ名(&P)", {}, u"すべてのｵﾌﾞｼﾞｪｸﾄの名前をﾊﾟｽ名に変更", {}},
    {ClearAllNames, u"削除(&C)", {}, u"すべてのｵﾌﾞｼﾞｪｸﾄの名前を削除", {}},

    {PlayObject, u"再生(&P)"},
    {DeleteObject, u"削除(&D)", {}, u"選択されたｵﾌﾞｼﾞｪｸﾄを削除", u"ｱｲﾃﾑ削除"},
    {EditObjectName, u"名前の編集(&M)"},
    {NameObjectByFileName, u"ﾌｧｲﾙ名(&F)"},
    {NameObjectByPath, u"ﾊﾟｽ名(&P)"},
    {ObjectProperties, u"ﾌﾟﾛﾊﾟﾃｨ(&R)"},

    {ToolBar, u"ﾂｰﾙ ﾊﾞｰ(&T)", {}, u"ﾂｰﾙ ﾊﾞｰの表示/非表示", u"ﾂｰﾙ ﾊﾞｰの表示/非表示"},
    {StatusBar, u"ｽﾃｰﾀｽ ﾊﾞｰ(&S)", {}, u"ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示", u"ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示"},
    {NavigationBar, u"ﾅﾋﾞｹﾞｰｼｮﾝ ﾊﾞｰ(&N)", {}, u"ﾅﾋﾞｹﾞｰﾄ ﾊﾞｰの表示/非表示", u"ﾅﾋﾞｹﾞｰﾄ ﾊﾞｰの表示/非表示"},
    {ControlBar, u"ｺﾝﾄﾛｰﾙ ﾊﾞｰ(&C)", {}, u"ｺﾝﾄﾛｰﾙ ﾊﾞｰの表示/非表示", u"ｺﾝﾄﾛｰﾙ ﾊﾞｰの表示/非表示"},
    {VolumeBar, u"ﾎﾞﾘｭｰﾑ ﾊﾞｰ(&V)", {}, u"ﾎﾞﾘｭｰﾑ ﾊﾞｰの表示/非表示", u"ﾎﾞﾘｭｰﾑ ﾊﾞｰの表示/非表示"},
    {SpeedBar, u"ｽﾋﾟｰﾄﾞ ﾊﾞｰ(&R)", {}, u"ｽﾋﾟｰﾄﾞ ﾊﾞｰの表示/非表示", u"ｽﾋﾟｰﾄﾞ ﾊﾞｰの表示/非表示"},
    {LargeIcons, u"大きいｱｲｺﾝ(&G)", {}, u"ｵﾌﾞｼﾞｪｸﾄを大きいｱｲｺﾝで表示", u"大きいｱｲｺﾝ", Picture::ContentsView},
    {SmallIcons, u"小さいｱｲｺﾝ(&M)", {}, u"ｵﾌﾞｼﾞｪｸﾄを小さいｱｲｺﾝで表示", u"小さいｱｲｺﾝ", Picture::InfoView},
    {List, u"一覧(&L)", {}, u"ｵﾌﾞｼﾞｪｸﾄを一覧表示", u"一覧", Picture::ListView},
    {Details, u"詳細(&D)", {}, u"ｳｲﾝﾄﾞｳ内の各ｵﾌﾞｼﾞｪｸﾄの情報を表示", u"詳細", Picture::DetailedView},

    {SortByName, u"名前順(&N)", {}, u"ｵﾌﾞｼﾞｪｸﾄを名前順に並べ替え", {}},
    {SortByMediaTime, u"ﾒﾃﾞｨｱ時間順(&M)", {}, u"ｵﾌﾞｼﾞｪｸﾄをﾒﾃﾞｨｱ時間順に並べ替え", {}},
    {SortByType, u"種類順(&T)", {}, u"ｵﾌﾞｼﾞｪｸﾄを種類順に並べ替え", {}},
    {SortBySize, u"ｻｲｽﾞ順(&Z)", {}, u"ｵﾌﾞｼﾞｪｸﾄをﾌｧｲﾙｻｲｽﾞ順に並べ替え", {}},
    {SortByDate, u"日付順(&D)", {}, u"ｵﾌﾞｼﾞｪｸﾄを更新日付順に並べ替え", {}},
    {Shuffle, u"ﾗﾝﾀﾞﾑ(&R)", {}, u"ｵﾌﾞｼﾞｪｸﾄをﾗﾝﾀﾞﾑに並べ替え", {}},
    {AutoArrange, u"ｱｲｺﾝの自動整列(&A)", {}, u"ｱｲｺﾝを自動的に整列", {}},
    {ArrangeIcons, u"等間隔に整列(&U)", {}, u"ｱｲｺﾝを等間隔に整列", {}},

    {PlayPause, u"再生/一時停止(&P)", {}, u"ﾒﾃﾞｨｱの再生または一時停止", u"再生/一時停止"},
    {Pause, u"一時停止", {}, u"ﾒﾃﾞｨｱの再生を一時停止", u"一時停止"},
    {Stop, u"停止(&S)", {}, u"ﾒﾃﾞｨｱの再生を停止", u"停止"},
    {Previous, u"前に戻る(&B)", {}, u"前のﾒﾃﾞｨｱに戻る", u"戻る", Picture::SkipBackward},
    {Next, u"次に進む(&F)", {}, u"次のﾒﾃﾞｨｱに進む", u"進む", Picture::SkipForward},
    {ShowPlayer, u"画面(&V)", {}, u"ﾌﾟﾚｲﾔ画面の表示/非表示", u"ﾌﾟﾚｲﾔ画面", Picture::Computer},
    {Sound, u"音声(&A)", {}, u"音声のON/OFF", u"音声", Picture::Volume},
    {NormalSize, u"標準(&S)", {}, u"ﾌﾟﾚｲﾔ画面をﾒﾃﾞｨｱの標準ｻｲｽﾞにする", u"標準ｻｲｽﾞ"},
    {DoubleSize, u"２倍(&D)", {}, u"ﾌﾟﾚｲﾔ画面をﾒﾃﾞｨｱの２倍ｻｲｽﾞにする", u"２倍ｻｲｽﾞ"},
    {MaximumSize, u"最大(&M)", {}, u"ﾌﾟﾚｲﾔ画面を最大化", u"最大化"},
    {FullScreen, u"ﾌﾙｽｸﾘｰﾝ(&F)", {}, u"ﾌﾙｽｸﾘｰﾝ表示", u"ﾌﾙｽｸﾘｰﾝ"},
    {Snapshot, u"ｽﾅｯﾌﾟｼｮｯﾄ(&X)...", {}, u"一時停止中にｶﾚﾝﾄｲﾒｰｼﾞﾊﾞｯﾌｧをﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙへ出力", {}},
    {AutoSize, u"自動ｻｲｽﾞ変更(&S)", {}, u"ﾒﾃﾞｨｱの標準ｻｲｽﾞに自動変更", u"自動ｻｲｽﾞ変更"},
    {AutoRewind, u"自動巻き戻し(&W)", {}, u"停止時にｶﾚﾝﾄ位置を先頭に戻す", u"自動巻き戻し"},
    {Repeat, u"自動繰り返し(&R)", {}, u"現在のﾒﾃﾞｨｱを繰り返し再生", u"自動繰り返し"},
    {Stretch, u"ｽﾄﾚｯﾁ(&S)", {}, u"ｽﾄﾚｯﾁ表示", u"ｽﾄﾚｯﾁ"},
    {PlayerProperties, u"ﾌﾟﾛﾊﾟﾃｨ(&R)", {}, u"ﾌﾟﾛﾊﾟﾃｨを表示", u"ﾌﾟﾛﾊﾟﾃｨ"},
    // On no menu: the player's own mute, and the speed bar's icon.
    {Mute, {}, {}, u"音声出力のON/OFF", u"音声出力のON/OFF"},
    {NormalSpeed, {}, {}, u"速度を 1.0 に設定", u"標準速度"},

    {SearchMedia, u"ﾒﾃﾞｨｱﾌｧｲﾙの検索(&F)...", {},
     u"指定されたﾄﾞﾗｲﾌﾞにあるﾒﾃﾞｨｱﾌｧｲﾙを検索し、ｶｯﾄﾘｽﾄを自動作成", u"ﾒﾃﾞｨｱの検索", Picture::StartFolder},
    {HelpContents, u"目次(&H)", u"F1", u"ﾍﾙﾌﾟの目次を表示", u"目次"},
    {About, u"ﾊﾞｰｼﾞｮﾝ情報(Kivo) (&A)...", {}, u"ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示", u"ﾊﾞｰｼﾞｮﾝ情報",
     Picture::Information},
};

constexpr Command kRecentFiles[] = {RecentFile1, RecentFile2, RecentFile3, RecentFile4};
static_assert(std::size(kRecentFiles) == Settings::kRecentFileCount);

}  // namespace

std::span<const CommandInfo> CommandInfos()
{
    return kCommands;
}

const CommandInfo& CommandInfoOf(Command command)
{
    static constexpr CommandInfo kNone{};
    const auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [command](const CommandInfo& info) { return info.id == command; });
    return found == std::end(kCommands) ? kNone : *found;
}

Command RecentFileCommand(int index)
{
    return kRecentFiles[index];
}

void CommandTable::Add(Command command, Action action, Condition enabled, Condition checked)
{
    m_commands[command] = {std::move(action), std::move(enabled), std::move(checked)};
}

bool CommandTable::IsEnabled(Command command) const
{
    const auto found = m_commands.find(command);
    return found != m_commands.end() && (!found->second.enabled || found->second.enabled());
}

bool CommandTable::IsChecked(Command command) const
{
    const auto found = m_commands.find(command);
    return found != m_commands.end() && found->second.checked && found->second.checked();
}

bool CommandTable::Run(Command command) const
{
    if (!IsEnabled(command))
        return false;
    m_commands.at(command).action();
    if (m_ran)
        m_ran();
    return true;
}

}  // namespace kivo
