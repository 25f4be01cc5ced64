#include "core/Commands.h"

#include <QHash>

namespace kivo {
namespace {

// The string of each command: the prompt, then after a line break its tool
// tip.
const QHash<int, QString>& CommandStrings()
{
    static const QHash<int, QString> strings = {
        {57600, QStringLiteral("新規にﾌｧｲﾙを作成\n新規ﾌｧｲﾙ")},
        {57601, QStringLiteral("既存のﾌｧｲﾙを開く\n開く")},
        {32840, QStringLiteral("ｶｯﾄﾘｽﾄにﾒﾃﾞｨｱﾌｧｲﾙを挿入\nﾒﾃﾞｨｱﾌｧｲﾙ")},
        {57603, QStringLiteral("作業中のﾌｧｲﾙを保存\n保存")},
        {57604, QStringLiteral("作業中のﾌｧｲﾙに名前を付けて保存\n名前をつけて保存")},
        {57616, QStringLiteral("指定のﾌｧｲﾙを開く")},
        {57617, QStringLiteral("指定のﾌｧｲﾙを開く")},
        {57618, QStringLiteral("指定のﾌｧｲﾙを開く")},
        {57619, QStringLiteral("指定のﾌｧｲﾙを開く")},
        {57665, QStringLiteral("Kivoを終了し、ﾌｧｲﾙの保存を指示\n終了")},
        {32793, QStringLiteral("無効なｵﾌﾞｼﾞｪｸﾄをすべて削除\n無効を削除")},
        {32794, QStringLiteral("ｵﾌﾞｼﾞｪｸﾄをすべて削除\nすべて削除")},
        {32816, QStringLiteral("すべてのｵﾌﾞｼﾞｪｸﾄの名前をﾌｧｲﾙ名に変更")},
        {32815, QStringLiteral("すべてのｵﾌﾞｼﾞｪｸﾄの名前をﾊﾟｽ名に変更")},
        {32836, QStringLiteral("すべてのｵﾌﾞｼﾞｪｸﾄの名前を削除")},
        {32817, QStringLiteral("選択されたｵﾌﾞｼﾞｪｸﾄを削除\nｱｲﾃﾑ削除")},
        {59392, QStringLiteral("ﾂｰﾙ ﾊﾞｰの表示/非表示\nﾂｰﾙ ﾊﾞｰの表示/非表示")},
        {59393, QStringLiteral("ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示\nｽﾃｰﾀｽ ﾊﾞｰの表示/非表示")},
        {32834, QStringLiteral("ﾅﾋﾞｹﾞｰﾄ ﾊﾞｰの表示/非表示\nﾅﾋﾞｹﾞｰﾄ ﾊﾞｰの表示/非表示")},
        {32785, QStringLiteral("ｺﾝﾄﾛｰﾙ ﾊﾞｰの表示/非表示\nｺﾝﾄﾛｰﾙ ﾊﾞｰの表示/非表示")},
        {32824, QStringLiteral("ﾎﾞﾘｭｰﾑ ﾊﾞｰの表示/非表示\nﾎﾞﾘｭｰﾑ ﾊﾞｰの表示/非表示")},
        {32825, QStringLiteral("ｽﾋﾟｰﾄﾞ ﾊﾞｰの表示/非表示\nｽﾋﾟｰﾄﾞ ﾊﾞｰの表示/非表示")},
        {32771, QStringLiteral("ｵﾌﾞｼﾞｪｸﾄを大きいｱｲｺﾝで表示\n大きいｱｲｺﾝ")},
        {32772, QStringLiteral("ｵﾌﾞｼﾞｪｸﾄを小さいｱｲｺﾝで表示\n小さいｱｲｺﾝ")},
        {32774, QStringLiteral("ｵﾌﾞｼﾞｪｸﾄを一覧表示\n一覧")},
        {32773, QStringLiteral("ｳｲﾝﾄﾞｳ内の各ｵﾌﾞｼﾞｪｸﾄの情報を表示\n詳細")},
        {32775, QStringLiteral("ｵﾌﾞｼﾞｪｸﾄを名前順に並べ替え")},
        {32776, QStringLiteral("ｵﾌﾞｼﾞｪｸﾄをﾒﾃﾞｨｱ時間順に並べ替え")},
        {32823, QStringLiteral("ｵﾌﾞｼﾞｪｸﾄを種類順に並べ替え")},
        {32812, QStringLiteral("ｵﾌﾞｼﾞｪｸﾄをﾌｧｲﾙｻｲｽﾞ順に並べ替え")},
        {32814, QStringLiteral("ｵﾌﾞｼﾞｪｸﾄを更新日付順に並べ替え")},
        {32820, QStringLiteral("ｵﾌﾞｼﾞｪｸﾄをﾗﾝﾀﾞﾑに並べ替え")},
        {32822, QStringLiteral("ｱｲｺﾝを自動的に整列")},
        {32777, QStringLiteral("ｱｲｺﾝを等間隔に整列")},
        {32779, QStringLiteral("ﾒﾃﾞｨｱの再生または一時停止\n再生/一時停止")},
        {32780, QStringLiteral("ﾒﾃﾞｨｱの再生を一時停止\n一時停止")},
        {32781, QStringLiteral("ﾒﾃﾞｨｱの再生を停止\n停止")},
        {32833, QStringLiteral("前のﾒﾃﾞｨｱに戻る\n戻る")},
        {32832, QStringLiteral("次のﾒﾃﾞｨｱに進む\n進む")},
        {32790, QStringLiteral("ﾌﾟﾚｲﾔ画面の表示/非表示\nﾌﾟﾚｲﾔ画面")},
        {32795, QStringLiteral("音声のON/OFF\n音声")},
        {32797, QStringLiteral("停止時にｶﾚﾝﾄ位置を先頭に戻す\n自動巻き戻し")},
        {32798, QStringLiteral("現在のﾒﾃﾞｨｱを繰り返し再生\n自動繰り返し")},
        {32837, QStringLiteral("ﾒﾃﾞｨｱの標準ｻｲｽﾞに自動変更\n自動ｻｲｽﾞ変更")},
        {32807, QStringLiteral("ｽﾄﾚｯﾁ表示\nｽﾄﾚｯﾁ")},
        {32801, QStringLiteral("音声出力のON/OFF\n音声出力のON/OFF")},
        {32802, QStringLiteral("ﾌﾟﾚｲﾔ画面をﾒﾃﾞｨｱの標準ｻｲｽﾞにする\n標準ｻｲｽﾞ")},
        {32808, QStringLiteral("ﾌﾟﾚｲﾔ画面をﾒﾃﾞｨｱの２倍ｻｲｽﾞにする\n２倍ｻｲｽﾞ")},
        {32809, QStringLiteral("ﾌﾟﾚｲﾔ画面を最大化\n最大化")},
        {32799, QStringLiteral("ﾌﾙｽｸﾘｰﾝ表示\nﾌﾙｽｸﾘｰﾝ")},
        {32810, QStringLiteral("一時停止中にｶﾚﾝﾄｲﾒｰｼﾞﾊﾞｯﾌｧをﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙへ出力")},
        {32792, QStringLiteral("ﾌﾟﾛﾊﾟﾃｨを表示\nﾌﾟﾛﾊﾟﾃｨ")},
        {32811, QStringLiteral("指定されたﾄﾞﾗｲﾌﾞにあるﾒﾃﾞｨｱﾌｧｲﾙを検索し、ｶｯﾄﾘｽﾄを自動作成\nﾒﾃﾞｨｱの検索")},
        {57670, QStringLiteral("ﾍﾙﾌﾟの目次を表示\n目次")},
        {57664, QStringLiteral("ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報")},
        {1065, QStringLiteral("速度を 1.0 に設定\n標準速度")},
    };
    return strings;
}

}  // namespace

CommandText CommandTextOf(int command)
{
    const QString text = CommandStrings().value(command);
    const qsizetype lineBreak = text.indexOf(QLatin1Char('\n'));
    if (lineBreak < 0)
        return {text, QString()};
    return {text.left(lineBreak), text.mid(lineBreak + 1)};
}

void CommandTable::Add(int command, Action action, Condition enabled, Condition checked)
{
    m_commands[command] = {std::move(action), std::move(enabled), std::move(checked)};
}

bool CommandTable::IsEnabled(int command) const
{
    const auto found = m_commands.find(command);
    return found != m_commands.end() && (!found->second.enabled || found->second.enabled());
}

bool CommandTable::IsChecked(int command) const
{
    const auto found = m_commands.find(command);
    return found != m_commands.end() && found->second.checked && found->second.checked();
}

bool CommandTable::Run(int command) const
{
    if (!IsEnabled(command))
        return false;
    m_commands.at(command).action();
    return true;
}

}  // namespace kivo
