#include "core/Commands.h"

#include "core/Settings.h"

#include <QCoreApplication>

#include <algorithm>

namespace kivo {
namespace {

using enum Command;

// Menu text, shortcut, prompt, tool tip and picture of every command.
constexpr CommandInfo kCommands[] = {
    {NewFile, QT_TRANSLATE_NOOP("Command", "新規作成(&N)"), u"Ctrl+N", QT_TRANSLATE_NOOP("Command", "新規にﾌｧｲﾙを作成"),
     QT_TRANSLATE_NOOP("Command", "新規ﾌｧｲﾙ"), Picture::File},
    {OpenFile, QT_TRANSLATE_NOOP("Command", "開く(&O)..."), u"Ctrl+O", QT_TRANSLATE_NOOP("Command", "既存のﾌｧｲﾙを開く"),
     QT_TRANSLATE_NOOP("Command", "開く"), Picture::Open},
    {OpenMediaFiles, QT_TRANSLATE_NOOP("Command", "ﾒﾃﾞｨｱﾌｧｲﾙを開く(&I)..."), {},
     QT_TRANSLATE_NOOP("Command", "ｶｯﾄﾘｽﾄにﾒﾃﾞｨｱﾌｧｲﾙを挿入"), QT_TRANSLATE_NOOP("Command", "ﾒﾃﾞｨｱﾌｧｲﾙ")},
    {SaveFile, QT_TRANSLATE_NOOP("Command", "上書き保存(&S)"), u"Ctrl+S", QT_TRANSLATE_NOOP("Command", "作業中のﾌｧｲﾙを保存"),
     QT_TRANSLATE_NOOP("Command", "保存"), Picture::Save},
    {SaveFileAs, QT_TRANSLATE_NOOP("Command", "名前を付けて保存(&A)..."), {}, QT_TRANSLATE_NOOP("Command", "作業中のﾌｧｲﾙに名前を付けて保存"),
     QT_TRANSLATE_NOOP("Command", "名前をつけて保存")},
    {ExportPlaylist, QT_TRANSLATE_NOOP("Command", "ﾌﾟﾚｲﾘｽﾄのｴｸｽﾎﾟｰﾄ(&E)..."), {},
     QT_TRANSLATE_NOOP("Command", "ｶｯﾄﾘｽﾄを他のﾌﾟﾚｲﾔ用のﾌﾟﾚｲﾘｽﾄとして保存"), QT_TRANSLATE_NOOP("Command", "ﾌﾟﾚｲﾘｽﾄのｴｸｽﾎﾟｰﾄ")},
    // The recent-file entries name their files; this is the text of an
    // empty list.
    {RecentFile1, QT_TRANSLATE_NOOP("Command", "最新のﾌｧｲﾙ"), {}, QT_TRANSLATE_NOOP("Command", "指定のﾌｧｲﾙを開く"), {}},
    {RecentFile2, QT_TRANSLATE_NOOP("Command", "最新のﾌｧｲﾙ"), {}, QT_TRANSLATE_NOOP("Command", "指定のﾌｧｲﾙを開く"), {}},
    {RecentFile3, QT_TRANSLATE_NOOP("Command", "最新のﾌｧｲﾙ"), {}, QT_TRANSLATE_NOOP("Command", "指定のﾌｧｲﾙを開く"), {}},
    {RecentFile4, QT_TRANSLATE_NOOP("Command", "最新のﾌｧｲﾙ"), {}, QT_TRANSLATE_NOOP("Command", "指定のﾌｧｲﾙを開く"), {}},
    {Exit, QT_TRANSLATE_NOOP("Command", "終了(&X)"), {}, QT_TRANSLATE_NOOP("Command", "Kivoを終了し、ﾌｧｲﾙの保存を指示"),
     QT_TRANSLATE_NOOP("Command", "終了")},

    {DeleteInvalid, QT_TRANSLATE_NOOP("Command", "無効を削除(&D)"), {}, QT_TRANSLATE_NOOP("Command", "無効なｵﾌﾞｼﾞｪｸﾄをすべて削除"),
     QT_TRANSLATE_NOOP("Command", "無効を削除"), Picture::Discard},
    {DeleteAll, QT_TRANSLATE_NOOP("Command", "すべて削除(&A)"), {}, QT_TRANSLATE_NOOP("Command", "ｵﾌﾞｼﾞｪｸﾄをすべて削除"),
     QT_TRANSLATE_NOOP("Command", "すべて削除"), Picture::Trash},
    {NameAllByFileName, QT_TRANSLATE_NOOP("Command", "ﾌｧｲﾙ名(&F)"), {},
     QT_TRANSLATE_NOOP("Command", "すべてのｵﾌﾞｼﾞｪｸﾄの名前をﾌｧｲﾙ名に変更"), {}},
    {NameAllByPath, QT_TRANSLATE_NOOP("Command", "ﾊﾟｽ名(&P)"), {},
     QT_TRANSLATE_NOOP("Command", "すべてのｵﾌﾞｼﾞｪｸﾄの名前をﾊﾟｽ名に変更"), {}},
    {ClearAllNames, QT_TRANSLATE_NOOP("Command", "削除(&C)"), {}, QT_TRANSLATE_NOOP("Command", "すべてのｵﾌﾞｼﾞｪｸﾄの名前を削除"), {}},

    {PlayObject, QT_TRANSLATE_NOOP("Command", "再生(&P)")},
    {DeleteObject, QT_TRANSLATE_NOOP("Command", "削除(&D)"), {}, QT_TRANSLATE_NOOP("Command", "選択されたｵﾌﾞｼﾞｪｸﾄを削除"),
     QT_TRANSLATE_NOOP("Command", "ｱｲﾃﾑ削除")},
    {EditObjectName, QT_TRANSLATE_NOOP("Command", "名前の編集(&M)")},
    {NameObjectByFileName, QT_TRANSLATE_NOOP("Command", "ﾌｧｲﾙ名(&F)")},
    {NameObjectByPath, QT_TRANSLATE_NOOP("Command", "ﾊﾟｽ名(&P)")},
    {ObjectProperties, QT_TRANSLATE_NOOP("Command", "ﾌﾟﾛﾊﾟﾃｨ(&R)")},

    {ToolBar, QT_TRANSLATE_NOOP("Command", "ﾂｰﾙ ﾊﾞｰ(&T)"), {}, QT_TRANSLATE_NOOP("Command", "ﾂｰﾙ ﾊﾞｰの表示/非表示"),
     QT_TRANSLATE_NOOP("Command", "ﾂｰﾙ ﾊﾞｰの表示/非表示")},
    {StatusBar, QT_TRANSLATE_NOOP("Command", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)"), {}, QT_TRANSLATE_NOOP("Command", "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示"),
     QT_TRANSLATE_NOOP("Command", "ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示")},
    {NavigationBar, QT_TRANSLATE_NOOP("Command", "ﾅﾋﾞｹﾞｰｼｮﾝ ﾊﾞｰ(&N)"), {},
     QT_TRANSLATE_NOOP("Command", "ﾅﾋﾞｹﾞｰﾄ ﾊﾞｰの表示/非表示"), QT_TRANSLATE_NOOP("Command", "ﾅﾋﾞｹﾞｰﾄ ﾊﾞｰの表示/非表示")},
    {ControlBar, QT_TRANSLATE_NOOP("Command", "ｺﾝﾄﾛｰﾙ ﾊﾞｰ(&C)"), {}, QT_TRANSLATE_NOOP("Command", "ｺﾝﾄﾛｰﾙ ﾊﾞｰの表示/非表示"),
     QT_TRANSLATE_NOOP("Command", "ｺﾝﾄﾛｰﾙ ﾊﾞｰの表示/非表示")},
    {VolumeBar, QT_TRANSLATE_NOOP("Command", "ﾎﾞﾘｭｰﾑ ﾊﾞｰ(&V)"), {}, QT_TRANSLATE_NOOP("Command", "ﾎﾞﾘｭｰﾑ ﾊﾞｰの表示/非表示"),
     QT_TRANSLATE_NOOP("Command", "ﾎﾞﾘｭｰﾑ ﾊﾞｰの表示/非表示")},
    {SpeedBar, QT_TRANSLATE_NOOP("Command", "ｽﾋﾟｰﾄﾞ ﾊﾞｰ(&R)"), {}, QT_TRANSLATE_NOOP("Command", "ｽﾋﾟｰﾄﾞ ﾊﾞｰの表示/非表示"),
     QT_TRANSLATE_NOOP("Command", "ｽﾋﾟｰﾄﾞ ﾊﾞｰの表示/非表示")},
    {LargeIcons, QT_TRANSLATE_NOOP("Command", "大きいｱｲｺﾝ(&G)"), {}, QT_TRANSLATE_NOOP("Command", "ｵﾌﾞｼﾞｪｸﾄを大きいｱｲｺﾝで表示"),
     QT_TRANSLATE_NOOP("Command", "大きいｱｲｺﾝ"), Picture::ContentsView},
    {SmallIcons, QT_TRANSLATE_NOOP("Command", "小さいｱｲｺﾝ(&M)"), {}, QT_TRANSLATE_NOOP("Command", "ｵﾌﾞｼﾞｪｸﾄを小さいｱｲｺﾝで表示"),
     QT_TRANSLATE_NOOP("Command", "小さいｱｲｺﾝ"), Picture::InfoView},
    {List, QT_TRANSLATE_NOOP("Command", "一覧(&L)"), {}, QT_TRANSLATE_NOOP("Command", "ｵﾌﾞｼﾞｪｸﾄを一覧表示"),
     QT_TRANSLATE_NOOP("Command", "一覧"), Picture::ListView},
    {Details, QT_TRANSLATE_NOOP("Command", "詳細(&D)"), {}, QT_TRANSLATE_NOOP("Command", "ｳｲﾝﾄﾞｳ内の各ｵﾌﾞｼﾞｪｸﾄの情報を表示"),
     QT_TRANSLATE_NOOP("Command", "詳細"), Picture::DetailedView},

    {SortByName, QT_TRANSLATE_NOOP("Command", "名前順(&N)"), {}, QT_TRANSLATE_NOOP("Command", "ｵﾌﾞｼﾞｪｸﾄを名前順に並べ替え"), {}},
    {SortByMediaTime, QT_TRANSLATE_NOOP("Command", "ﾒﾃﾞｨｱ時間順(&M)"), {},
     QT_TRANSLATE_NOOP("Command", "ｵﾌﾞｼﾞｪｸﾄをﾒﾃﾞｨｱ時間順に並べ替え"), {}},
    {SortByType, QT_TRANSLATE_NOOP("Command", "種類順(&T)"), {}, QT_TRANSLATE_NOOP("Command", "ｵﾌﾞｼﾞｪｸﾄを種類順に並べ替え"), {}},
    {SortBySize, QT_TRANSLATE_NOOP("Command", "ｻｲｽﾞ順(&Z)"), {}, QT_TRANSLATE_NOOP("Command", "ｵﾌﾞｼﾞｪｸﾄをﾌｧｲﾙｻｲｽﾞ順に並べ替え"),
     {}},
    {SortByDate, QT_TRANSLATE_NOOP("Command", "日付順(&D)"), {}, QT_TRANSLATE_NOOP("Command", "ｵﾌﾞｼﾞｪｸﾄを更新日付順に並べ替え"), {}},
    {Shuffle, QT_TRANSLATE_NOOP("Command", "ﾗﾝﾀﾞﾑ(&R)"), {}, QT_TRANSLATE_NOOP("Command", "ｵﾌﾞｼﾞｪｸﾄをﾗﾝﾀﾞﾑに並べ替え"), {}},
    {AutoArrange, QT_TRANSLATE_NOOP("Command", "ｱｲｺﾝの自動整列(&A)"), {}, QT_TRANSLATE_NOOP("Command", "ｱｲｺﾝを自動的に整列"), {}},
    {ArrangeIcons, QT_TRANSLATE_NOOP("Command", "等間隔に整列(&U)"), {}, QT_TRANSLATE_NOOP("Command", "ｱｲｺﾝを等間隔に整列"), {}},

    {PlayPause, QT_TRANSLATE_NOOP("Command", "再生/一時停止(&P)"), {}, QT_TRANSLATE_NOOP("Command", "ﾒﾃﾞｨｱの再生または一時停止"),
     QT_TRANSLATE_NOOP("Command", "再生/一時停止")},
    {Pause, QT_TRANSLATE_NOOP("Command", "一時停止"), {}, QT_TRANSLATE_NOOP("Command", "ﾒﾃﾞｨｱの再生を一時停止"),
     QT_TRANSLATE_NOOP("Command", "一時停止")},
    {Stop, QT_TRANSLATE_NOOP("Command", "停止(&S)"), {}, QT_TRANSLATE_NOOP("Command", "ﾒﾃﾞｨｱの再生を停止"),
     QT_TRANSLATE_NOOP("Command", "停止")},
    {Previous, QT_TRANSLATE_NOOP("Command", "前に戻る(&B)"), {}, QT_TRANSLATE_NOOP("Command", "前のﾒﾃﾞｨｱに戻る"),
     QT_TRANSLATE_NOOP("Command", "戻る"), Picture::SkipBackward},
    {Next, QT_TRANSLATE_NOOP("Command", "次に進む(&F)"), {}, QT_TRANSLATE_NOOP("Command", "次のﾒﾃﾞｨｱに進む"),
     QT_TRANSLATE_NOOP("Command", "進む"), Picture::SkipForward},
    {ShowPlayer, QT_TRANSLATE_NOOP("Command", "画面(&V)"), {}, QT_TRANSLATE_NOOP("Command", "ﾌﾟﾚｲﾔ画面の表示/非表示"),
     QT_TRANSLATE_NOOP("Command", "ﾌﾟﾚｲﾔ画面"), Picture::Computer},
    {Sound, QT_TRANSLATE_NOOP("Command", "音声(&A)"), {}, QT_TRANSLATE_NOOP("Command", "音声のON/OFF"),
     QT_TRANSLATE_NOOP("Command", "音声"), Picture::Volume},
    {NormalSize, QT_TRANSLATE_NOOP("Command", "標準(&S)"), {}, QT_TRANSLATE_NOOP("Command", "ﾌﾟﾚｲﾔ画面をﾒﾃﾞｨｱの標準ｻｲｽﾞにする"),
     QT_TRANSLATE_NOOP("Command", "標準ｻｲｽﾞ")},
    {DoubleSize, QT_TRANSLATE_NOOP("Command", "２倍(&D)"), {}, QT_TRANSLATE_NOOP("Command", "ﾌﾟﾚｲﾔ画面をﾒﾃﾞｨｱの２倍ｻｲｽﾞにする"),
     QT_TRANSLATE_NOOP("Command", "２倍ｻｲｽﾞ")},
    {MaximumSize, QT_TRANSLATE_NOOP("Command", "最大(&M)"), {}, QT_TRANSLATE_NOOP("Command", "ﾌﾟﾚｲﾔ画面を最大化"),
     QT_TRANSLATE_NOOP("Command", "最大化")},
    {FullScreen, QT_TRANSLATE_NOOP("Command", "ﾌﾙｽｸﾘｰﾝ(&F)"), {}, QT_TRANSLATE_NOOP("Command", "ﾌﾙｽｸﾘｰﾝ表示"),
     QT_TRANSLATE_NOOP("Command", "ﾌﾙｽｸﾘｰﾝ")},
    {Snapshot, QT_TRANSLATE_NOOP("Command", "ｽﾅｯﾌﾟｼｮｯﾄ(&X)..."), {},
     QT_TRANSLATE_NOOP("Command", "一時停止中にｶﾚﾝﾄｲﾒｰｼﾞﾊﾞｯﾌｧをﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙへ出力"), {}},
    {AutoSize, QT_TRANSLATE_NOOP("Command", "自動ｻｲｽﾞ変更(&S)"), {}, QT_TRANSLATE_NOOP("Command", "ﾒﾃﾞｨｱの標準ｻｲｽﾞに自動変更"),
     QT_TRANSLATE_NOOP("Command", "自動ｻｲｽﾞ変更")},
    {AutoRewind, QT_TRANSLATE_NOOP("Command", "自動巻き戻し(&W)"), {}, QT_TRANSLATE_NOOP("Command", "停止時にｶﾚﾝﾄ位置を先頭に戻す"),
     QT_TRANSLATE_NOOP("Command", "自動巻き戻し")},
    {Repeat, QT_TRANSLATE_NOOP("Command", "自動繰り返し(&R)"), {}, QT_TRANSLATE_NOOP("Command", "現在のﾒﾃﾞｨｱを繰り返し再生"),
     QT_TRANSLATE_NOOP("Command", "自動繰り返し")},
    {RepeatList, QT_TRANSLATE_NOOP("Command", "ﾘｽﾄを繰り返す(&L)"), {}, QT_TRANSLATE_NOOP("Command", "ｶｯﾄﾘｽﾄ全体を繰り返し再生"),
     QT_TRANSLATE_NOOP("Command", "ﾘｽﾄを繰り返す")},
    {Stretch, QT_TRANSLATE_NOOP("Command", "ｽﾄﾚｯﾁ(&S)"), {}, QT_TRANSLATE_NOOP("Command", "ｽﾄﾚｯﾁ表示"),
     QT_TRANSLATE_NOOP("Command", "ｽﾄﾚｯﾁ")},
    {PlayerProperties, QT_TRANSLATE_NOOP("Command", "ﾌﾟﾛﾊﾟﾃｨ(&R)"), {}, QT_TRANSLATE_NOOP("Command", "ﾌﾟﾛﾊﾟﾃｨを表示"),
     QT_TRANSLATE_NOOP("Command", "ﾌﾟﾛﾊﾟﾃｨ")},
    // On no menu: the player's own mute, and the speed bar's icon.
    {Mute, {}, {}, QT_TRANSLATE_NOOP("Command", "音声出力のON/OFF"), QT_TRANSLATE_NOOP("Command", "音声出力のON/OFF")},
    {NormalSpeed, {}, {}, QT_TRANSLATE_NOOP("Command", "速度を 1.0 に設定"), QT_TRANSLATE_NOOP("Command", "標準速度")},

    {SearchMedia, QT_TRANSLATE_NOOP("Command", "ﾒﾃﾞｨｱﾌｧｲﾙの検索(&F)..."), {},
     QT_TRANSLATE_NOOP("Command", "指定されたﾄﾞﾗｲﾌﾞにあるﾒﾃﾞｨｱﾌｧｲﾙを検索し、ｶｯﾄﾘｽﾄを自動作成"), QT_TRANSLATE_NOOP("Command", "ﾒﾃﾞｨｱの検索"),
     Picture::StartFolder},
    {HelpContents, QT_TRANSLATE_NOOP("Command", "目次(&H)"), u"F1", QT_TRANSLATE_NOOP("Command", "ﾍﾙﾌﾟの目次を表示"),
     QT_TRANSLATE_NOOP("Command", "目次")},
    {About, QT_TRANSLATE_NOOP("Command", "ﾊﾞｰｼﾞｮﾝ情報(Kivo) (&A)..."), {},
     QT_TRANSLATE_NOOP("Command", "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示"), QT_TRANSLATE_NOOP("Command", "ﾊﾞｰｼﾞｮﾝ情報"),
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

QString CommandText(const char* text)
{
    return text == nullptr ? QString() : QCoreApplication::translate("Command", text);
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
