// The English interface: every text the real program shows, with the English
// translation loaded, is English and fits its widget.

#include "ModalWindows.h"
#include "TestMedia.h"
#include "ui/AboutDialog.h"
#include "ui/Application.h"
#include "ui/CommandActions.h"
#include "ui/CutListView.h"
#include "ui/Flow.h"
#include "ui/HelpWindow.h"
#include "ui/LoadingDialog.h"
#include "ui/MediaSearchDialog.h"
#include "ui/PlayerWindow.h"
#include "ui/PropertySheet.h"
#include "core/Settings.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDockWidget>
#include <QDropEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTest>
#include <QToolBar>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace kivo {
namespace {

using test::Media;

// Kana, kanji, the CJK punctuation and the full- and half-width forms
// (half-width katakana among them).
bool HasJapanese(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x3000 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF) ||
               (u >= 0xFF00 && u <= 0xFFEF);
    });
}

// What a walk over windows found wrong, each finding naming its place.
struct Findings {
    QStringList japanese;
    QStringList clipped;
    QStringList sharedAccelerators;

    void Text(const QString& where, const QString& text)
    {
        if (HasJapanese(text))
            japanese.append(where + QStringLiteral(": ") + text);
    }
};

QString Where(const QWidget* widget)
{
    const QString name = widget->objectName();
    return QString::fromLatin1(widget->metaObject()->className()) + (name.isEmpty() ? QString() : u' ' + name);
}

// The actions of a menu bar, a menu or a tool bar and their submenus; the
// accelerators of a menu must differ.
void WalkActions(Findings& findings, const QString& where, const QList<QAction*>& actions, bool menu = true)
{
    std::map<int, QString> accelerators;
    for (QAction* action : actions) {
        if (action->isSeparator())
            continue;
        const QString place = where + QStringLiteral(" > ") + action->text();
        findings.Text(place, action->text());
        findings.Text(place + QStringLiteral(" (prompt)"), action->statusTip());
        findings.Text(place + QStringLiteral(" (tool tip)"), action->toolTip());
        const QKeySequence accelerator = QKeySequence::mnemonic(action->text());
        if (menu && !accelerator.isEmpty() && action->isVisible()) {
            const auto [earlier, added] = accelerators.emplace(accelerator[0].toCombined(), action->text());
            if (!added)
                findings.sharedAccelerators.append(where + QStringLiteral(": ") + earlier->second +
                                                   QStringLiteral(" / ") + action->text());
        }
        if (action->menu() != nullptr)
            WalkActions(findings, place, action->menu()->actions());
    }
}

// Whether a shown text is wider than the room its widget has: labels and
// buttons, but neither the labels that elide what they show on purpose nor
// the status bar's message pane, which cuts a long message in any language.
bool Clipped(QWidget* widget)
{
    if (!widget->isVisible() || widget->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored ||
        widget->objectName() == u"messagePane")
        return false;
    if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr && !label->wordWrap() && !label->text().isEmpty())
        return label->sizeHint().width() > label->width();
    if (qobject_cast<QPushButton*>(widget) || qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget))
        return widget->sizeHint().width() > widget->width();
    return false;
}

// Every text of a window and of its children: titles, labels, buttons,
// groups, tabs, lists' headers and entries, tips, menus and tool bars.
void WalkWindow(Findings& findings, QWidget* window)
{
    findings.Text(Where(window) + QStringLiteral(" (title)"), window->windowTitle());
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
        const QString where = Where(widget);
        findings.Text(where + QStringLiteral(" (tool tip)"), widget->toolTip());
        findings.Text(where + QStringLiteral(" (prompt)"), widget->statusTip());
        if (auto* label = qobject_cast<QLabel*>(widget))
            findings.Text(where, label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            findings.Text(where, button->text());
        if (auto* group = qobject_cast<QGroupBox*>(widget))
            findings.Text(where, group->title());
        if (auto* box = qobject_cast<QComboBox*>(widget)) {
            for (int i = 0; i < box->count(); ++i)
                findings.Text(where, box->itemText(i));
        }
        if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                findings.Text(where, tabs->tabText(i));
        }
        if (auto* header = qobject_cast<QHeaderView*>(widget); header != nullptr && header->model() != nullptr) {
            for (int i = 0; i < header->count(); ++i)
                findings.Text(where, header->model()->headerData(i, header->orientation()).toString());
        }
        if (auto* view = qobject_cast<QAbstractItemView*>(widget); view != nullptr && view->model() != nullptr) {
            const QAbstractItemModel* model = view->model();
            for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
                for (int column = 0; column < model->columnCount(view->rootIndex()); ++column)
                    findings.Text(where, model->index(row, column, view->rootIndex()).data().toString());
            }
        }
        if (qobject_cast<QMenuBar*>(widget) || qobject_cast<QMenu*>(widget))
            WalkActions(findings, where, widget->actions());
        if (qobject_cast<QToolBar*>(widget))
            WalkActions(findings, where, widget->actions(), false);
        if (Clipped(widget)) {
            findings.clipped.append(QStringLiteral("%1: \"%2\" needs %3 pixels, has %4")
                                        .arg(where, widget->property("text").toString())
                                        .arg(widget->sizeHint().width())
                                        .arg(widget->width()));
        }
    }
}

// Each page of a tabbed window in turn, shown and laid out.
void WalkPages(Findings& findings, QWidget* window)
{
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            WalkWindow(findings, window);
        }
    }
}

void ExpectNoFindings(const Findings& findings)
{
    EXPECT_TRUE(findings.japanese.isEmpty()) << findings.japanese.join(u'\n').toStdString();
    EXPECT_TRUE(findings.clipped.isEmpty()) << findings.clipped.join(u'\n').toStdString();
    EXPECT_TRUE(findings.sharedAccelerators.isEmpty()) << findings.sharedAccelerators.join(u'\n').toStdString();
}

// A main window made as main() makes it, in English.
class EnglishProgram : public ::testing::Test {
protected:
    void Add(const QStringList& paths)
    {
        bool done = false;
        window.AddMedia(paths, [&] { done = true; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 60000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Player().Engine().IsOpening(); }, 10000));
    }
    // Runs the command and walks the modal window of the kind it shows, each
    // of its pages, then closes it.
    template <typename Window>
    void WalkShown(Command command)
    {
        const auto shown = test::WhenShown<Window>([this](Window* dialog) {
            WalkWindow(findings, dialog);
            WalkPages(findings, dialog);
            dialog->reject();
        });
        EXPECT_TRUE(window.Commands().Run(command));
    }

    InterfaceTexts texts{{QStringLiteral("en-US")}};
    QTemporaryDir folder;
    Settings settings{folder.filePath("Kivo231.ini")};
    Flow flow{settings};
    MainWindow& window = flow.Window();
    Findings findings;
};

TEST_F(EnglishProgram, EveryCommandsMenuTextPromptAndToolTipIsEnglish)
{
    ASSERT_EQ(texts.Language(), "en");
    Findings commands;
    for (const CommandInfo& info : CommandInfos()) {
        const QString where = QString::number(static_cast<int>(info.id));
        for (const char* text : {info.menuText, info.prompt, info.toolTip}) {
            commands.Text(where, CommandText(text));
            // A text and its translation hold the same accelerator or none.
            EXPECT_EQ(QKeySequence::mnemonic(CommandText(text)).isEmpty(), QKeySequence::mnemonic(text).isEmpty())
                << where.toStdString() << ' ' << CommandText(text).toStdString();
        }
    }
    ExpectNoFindings(commands);
}

TEST_F(EnglishProgram, TheMainWindowItsMenusBarsAndListAreEnglishAndUnclipped)
{
    window.show();
    Add({Media("video.avi"), Media("audio.wav"), Media("text.txt")});
    for (Command view : {Command::Details, Command::LargeIcons}) {
        window.Commands().Run(view);
        QCoreApplication::processEvents();
        WalkWindow(findings, &window);
    }
    EXPECT_EQ(window.windowTitle(), "Untitled - Kivo");
    // The list's own menus and the player window's.
    auto* list = window.findChild<CutListView*>();
    QWidget* viewport = list->ActiveView()->viewport();
    const auto walkMenuAt = [&](QWidget* owner, QPoint point) {
        const auto shown = test::WhenShown<QMenu>([&](QMenu* popup) {
            WalkActions(findings, Where(owner) + QStringLiteral(" menu"), popup->actions());
            popup->close();
        });
        QTest::mouseClick(owner, Qt::RightButton, {}, point);
    };
    walkMenuAt(viewport, list->ActiveView()->visualRect(window.List().index(0, 0)).center());
    walkMenuAt(viewport, QPoint(viewport->width() - 5, viewport->height() - 5));
    window.Commands().Run(Command::ShowPlayer);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Player().isVisible(); }));
    WalkWindow(findings, &window.Player());
    {
        const auto shown = test::WhenShown<QMenu>([&](QMenu* popup) {
            WalkActions(findings, QStringLiteral("player menu"), popup->actions());
            popup->close();
        });
        QContextMenuEvent click(QContextMenuEvent::Keyboard, QPoint(5, 5), window.Player().mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(&window.Player(), &click);
    }
    // The loading dialog, as a run shows it.
    auto* loading = window.findChild<LoadingDialog*>();
    loading->show();
    QCoreApplication::processEvents();
    WalkWindow(findings, loading);
    loading->hide();
    ExpectNoFindings(findings);
}

TEST_F(EnglishProgram, EveryDialogAndPropertyPageIsEnglishAndUnclipped)
{
    window.show();
    Add({Media("video.avi"), Media("audio.wav")});
    WalkShown<PropertySheet>(Command::PlayerProperties);  // the media, player and playback pages
    WalkShown<AboutDialog>(Command::About);
    WalkShown<CMediaSearchDlg>(Command::SearchMedia);
    // Qt's file dialog: only its Kivo texts (title, rows) are looked at.
    Findings fileDialog;
    {
        const auto shown = test::WhenShown<QFileDialog>([&](QFileDialog* dialog) {
            WalkWindow(fileDialog, dialog);
            dialog->reject();
        });
        window.Commands().Run(Command::OpenMediaFiles);
    }
    EXPECT_TRUE(fileDialog.japanese.isEmpty()) << fileDialog.japanese.join(u'\n').toStdString();
    window.Commands().Run(Command::HelpContents);
    HelpWindow* help = window.findChild<HelpWindow*>();
    ASSERT_NE(help, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return help->isVisible(); }));
    WalkWindow(findings, help);
    ExpectNoFindings(findings);
    // The help shows its English pages, which hold no Japanese.
    EXPECT_EQ(help->findChild<QTextBrowser*>()->source(), QUrl("qrc:/help/en/index.html"));
    const QStringList pages = QDir(":/help/en").entryList(QDir::Files);
    EXPECT_EQ(pages.size(), QDir(":/help").entryList(QDir::Files).size());
    for (const QString& page : pages) {
        QFile file(":/help/en/" + page);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_FALSE(HasJapanese(QString::fromUtf8(file.readAll()))) << page.toStdString();
    }
}

TEST_F(EnglishProgram, TheSessionsMessagesAreEnglish)
{
    window.show();
    Add({Media("video.avi")});
    ASSERT_TRUE(QDir(folder.path()).mkdir("empty"));
    const auto dropEmptyFolder = [&] {
        QMimeData folders;
        folders.setUrls({QUrl::fromLocalFile(folder.filePath("empty"))});
        QWidget* bar = window.findChild<QDockWidget*>("SpeedBar");
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &folders, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &folders, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(bar, &drop);
    };
    const QStringList messages = {
        test::CloseMessageBox([&] { window.OpenDocument(folder.filePath("missing.kvo")); }).text,
        test::CloseMessageBox(dropEmptyFolder).text,
        test::CloseMessageBox([&] { window.Commands().Run(Command::DeleteAll); }).text,
    };
    for (const QString& message : messages)
        EXPECT_FALSE(message.isEmpty() || HasJapanese(message)) << message.toStdString();
    // Texts the session makes without a window.
    EXPECT_EQ(window.List().headerData(0, Qt::Horizontal).toString(), "Name");
}

// The translation file: every text the sources mark has a finished English
// translation, which keeps the text's placeholders and accelerator.
TEST(EnglishTranslation, EveryMarkedTextIsTranslatedKeepingItsPlaceholdersAndAccelerator)
{
    QTemporaryDir folder;
    const QString gathered = folder.filePath("kivo_en.ts");
    QProcess lupdate;
    lupdate.start(QStringLiteral(KIVO_LUPDATE), {"-silent", "-locations", "none", QStringLiteral(KIVO_SOURCE_DIR "/src"),
                                                 "-ts", gathered});
    ASSERT_TRUE(lupdate.waitForFinished(120000) && lupdate.exitCode() == 0) << lupdate.readAllStandardError().data();
    const auto read = [](const QString& path) {
        std::map<std::pair<QString, QString>, QString> messages;  // (context, source) -> translation
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        QXmlStreamReader xml(&file);
        QString context, source;
        while (xml.readNextStartElement() || !xml.atEnd()) {
            if (!xml.isStartElement())
                continue;
            if (xml.name() == u"name")
                context = xml.readElementText();
            else if (xml.name() == u"source")
                source = xml.readElementText();
            else if (xml.name() == u"translation") {
                const bool unfinished = xml.attributes().value("type") == u"unfinished";
                messages[{context, source}] = unfinished ? QString() : xml.readElementText();
            } else if (xml.name() != u"TS" && xml.name() != u"context" && xml.name() != u"message")
                xml.skipCurrentElement();
        }
        return messages;
    };
    const auto marked = read(gathered);
    const auto kept = read(QStringLiteral(KIVO_SOURCE_DIR "/translations/kivo_en.ts"));
    EXPECT_GT(marked.size(), 250u);
    const QRegularExpression placeholder(QStringLiteral("%\\d"));
    const auto placeholders = [&](const QString& text) {
        std::multiset<QString> found;
        for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
            found.insert(match.captured());
        return found;
    };
    for (const auto& [key, unused] : marked) {
        const auto& [context, source] = key;
        const std::string where = (context + u' ' + source).toStdString();
        const auto found = kept.find(key);
        if (found == kept.end() || found->second.isEmpty()) {
            ADD_FAILURE() << "no English for " << where;
            continue;
        }
        const QString& english = found->second;
        EXPECT_FALSE(HasJapanese(english)) << where;
        EXPECT_EQ(placeholders(english), placeholders(source)) << where;
        EXPECT_EQ(QKeySequence::mnemonic(english).isEmpty(), QKeySequence::mnemonic(source).isEmpty()) << where;
    }
}

TEST(InterfaceTexts, JapaneseAndTheCLocaleShowTheSourceTexts)
{
    const QString file = CommandText(CommandInfoOf(Command::NewFile).menuText);
    EXPECT_EQ(file, "新規作成(&N)");
    // The tests run with LANG=C.UTF-8 and no LANGUAGE.
    for (const QStringList& languages : {QLocale::system().uiLanguages(), QStringList{"ja", "en"}, QStringList{"C"}}) {
        const InterfaceTexts texts(languages);
        EXPECT_EQ(texts.Language(), "ja") << languages.join(u':').toStdString();
        EXPECT_EQ(CommandText(CommandInfoOf(Command::NewFile).menuText), "新規作成(&N)");
    }
    {
        const InterfaceTexts texts({"en-GB"});
        EXPECT_EQ(CommandText(CommandInfoOf(Command::NewFile).menuText), "&New");
        // Qt's own texts follow.
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    }
    {
        const InterfaceTexts texts({"ja"});
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "キャンセル");
    }
    // Gone with its texts.
    EXPECT_EQ(CommandText(CommandInfoOf(Command::NewFile).menuText), file);
}

}  // namespace
}  // namespace kivo
