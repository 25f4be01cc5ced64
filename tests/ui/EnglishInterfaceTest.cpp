// The English interface: every text the real program shows, with the English
// translation loaded, is English and fits its widget.

#include "ModalWindows.h"
#include "TestFiles.h"
#include "TestMedia.h"
#include "core/Settings.h"
#include "media/Pictures.h"
#include "ui/Application.h"
#include "ui/CommandActions.h"
#include "ui/CutListView.h"
#include "ui/Flow.h"
#include "ui/HelpWindow.h"
#include "ui/LoadingDialog.h"
#include "ui/PlayerWindow.h"

#include <map>
#include <set>

namespace kivo {
namespace {

using test::Media;

// Kana, kanji, the CJK punctuation and the full- and half-width forms
// (half-width katakana among them).
bool HasJapanese(const QString& text)
{
    static const QRegularExpression japanese(R"([\p{Hiragana}\p{Katakana}\p{Han}\x{3000}-\x{303F}\x{FF00}-\x{FFEF}])");
    return text.contains(japanese);
}

// What a walk over windows found wrong (Japanese, a clipped text, an
// accelerator shared in a menu), each finding naming its place. Qt's own
// windows are looked at for Japanese only.
struct Findings {
    QStringList found;
    bool layout = true;

    void Text(const QString& where, const QString& text)
    {
        if (HasJapanese(text))
            found.append("Japanese in " + where + ": " + text);
    }
    // The texts a widget or an action shows of its own.
    void TextsOf(const QString& where, const QObject* object)
    {
        for (const char* property : {"windowTitle", "title", "text", "toolTip", "statusTip", "placeholderText"})
            Text(where + u' ' + property, object->property(property).toString());
    }
};

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

// Every text of a window and of its children: their own texts, tabs, the
// headers and entries of lists and choices, the actions of menus and tool
// bars (a submenu is a widget of its own). The accelerators of a menu must
// differ.
void WalkWindow(Findings& findings, QWidget* window)
{
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
        const QString where = QString::fromLatin1(widget->metaObject()->className()) + u' ' + widget->objectName();
        findings.TextsOf(where, widget);
        if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                findings.Text(where, tabs->tabText(i));
        }
        const auto* choices = qobject_cast<QComboBox*>(widget);
        const auto* view = qobject_cast<QAbstractItemView*>(widget);
        const QAbstractItemModel* model = choices ? choices->model() : view ? view->model() : nullptr;
        const QModelIndex root = view ? view->rootIndex() : QModelIndex();
        for (int column = 0; model != nullptr && column < model->columnCount(root); ++column) {
            findings.Text(where, model->headerData(column, Qt::Horizontal).toString());
            for (int row = 0; row < model->rowCount(root); ++row)
                findings.Text(where, model->index(row, column, root).data().toString());
        }
        const bool menu = qobject_cast<QMenuBar*>(widget) || qobject_cast<QMenu*>(widget);
        std::map<int, QString> accelerators;
        for (QAction* action : widget->actions()) {
            findings.TextsOf(where + QStringLiteral(" > ") + action->text(), action);
            const QKeySequence accelerator = QKeySequence::mnemonic(action->text());
            if (menu && !accelerator.isEmpty() && action->isVisible() &&
                !accelerators.emplace(accelerator[0].toCombined(), action->text()).second) {
                findings.found.append("shared accelerator in " + where + ": " + accelerators[accelerator[0].toCombined()] +
                                      " / " + action->text());
            }
        }
        if (findings.layout && Clipped(widget)) {
            findings.found.append(QStringLiteral("clipped %1: \"%2\" needs %3 pixels, has %4")
                                      .arg(where, widget->property("text").toString())
                                      .arg(widget->sizeHint().width())
                                      .arg(widget->width()));
        }
    }
    // Each page of a tabbed window in turn, shown and laid out.
    for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QCoreApplication::processEvents();
            WalkWindow(findings, tabs->currentWidget());
        }
    }
}

// A main window made as main() makes it, in English: its menus and bars in
// two view modes, the popups and dialogs its commands and clicks show, the
// player, loading and help windows, and the session's messages.
TEST(EnglishProgram, EveryWindowMenuDialogAndMessageIsEnglishAndUnclipped)
{
    const InterfaceTexts texts({QStringLiteral("en-US")});
    ASSERT_EQ(texts.Language(), "en");
    // The cards that say something of an object say it in English.
    for (const auto& [card, english] : {std::pair(PictureId::SoundOnly, ":/pictures/en/214.png"),
                                        std::pair(PictureId::Unavailable, ":/pictures/en/147.png")})
        EXPECT_EQ(LoadPicture(card), QImage(english).convertToFormat(QImage::Format_RGB32)) << english;
    QTemporaryDir folder;
    Settings settings(folder.filePath("Kivo231.ini"));
    Flow flow(settings);
    MainWindow& window = flow.Window();
    Findings findings;
    for (const CommandInfo& info : CommandInfos()) {  // also those of no menu
        for (const char* text : {info.menuText, info.prompt, info.toolTip})
            findings.Text(QStringLiteral("command"), CommandText(text));
    }
    window.show();
    bool added = false;
    window.AddMedia({Media("video.avi"), Media("audio.wav"), Media("text.txt")}, [&] { added = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return added; }, 60000) &&
                QTest::qWaitFor([&] { return !window.Player().Engine().IsOpening(); }, 10000));
    for (Command view : {Command::Details, Command::LargeIcons}) {
        window.Commands().Run(view);
        QCoreApplication::processEvents();
        WalkWindow(findings, &window);
    }
    window.Commands().Run(Command::ShowPlayer);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Player().isVisible(); }));
    WalkWindow(findings, &window.Player());

    QWidget* viewport = window.ListView().ActiveView()->viewport();
    const QPoint object = window.ListView().ActiveView()->visualRect(window.List().index(0, 0)).center();
    QContextMenuEvent playerMenu(QContextMenuEvent::Keyboard, QPoint(5, 5), window.Player().mapToGlobal(QPoint(5, 5)));
    const std::function<void()> shows[] = {
        [&] { QTest::mouseClick(viewport, Qt::RightButton, {}, object); },
        [&] { QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(viewport->width() - 5, viewport->height() - 5)); },
        [&] { QCoreApplication::sendEvent(&window.Player(), &playerMenu); },
        [&] { window.Commands().Run(Command::PlayerProperties); },  // the media, player and playback pages
        [&] { window.Commands().Run(Command::About); },
        [&] { window.Commands().Run(Command::SearchMedia); },
        [&] { window.Commands().Run(Command::OpenMediaFiles); },  // Qt's file dialog
    };
    for (const auto& show : shows) {
        const test::WhenShown<> watch([&](QWidget* shown) {
            findings.layout = !qobject_cast<QFileDialog*>(shown);
            WalkWindow(findings, shown);
            findings.layout = true;
            shown->close();
        });
        show();
    }
    auto* loading = window.findChild<LoadingDialog*>();  // as a run shows it
    loading->show();
    QCoreApplication::processEvents();
    WalkWindow(findings, loading);
    loading->hide();

    window.Commands().Run(Command::HelpContents);
    auto* help = window.findChild<HelpWindow*>();
    ASSERT_TRUE(help != nullptr && QTest::qWaitFor([&] { return help->isVisible(); }));
    WalkWindow(findings, help);
    // The help shows its English pages, which hold no Japanese.
    EXPECT_EQ(help->Browser()->source(), QUrl("qrc:/help/en/index.html"));
    const QStringList pages = QDir(":/help/en").entryList(QDir::Files);
    EXPECT_EQ(pages.size(), QDir(":/help").entryList(QDir::Files).size());
    for (const QString& page : pages)
        findings.Text(page, QString::fromUtf8(test::ReadFile(":/help/en/" + page)));

    ASSERT_TRUE(QDir(folder.path()).mkdir("empty"));
    QMimeData emptyFolder;
    emptyFolder.setUrls({QUrl::fromLocalFile(folder.filePath("empty"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &emptyFolder, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &emptyFolder, Qt::LeftButton, Qt::NoModifier);
    const std::function<void()> messages[] = {
        [&] { window.OpenDocument(folder.filePath("missing.kvo")); },
        [&] {
            QCoreApplication::sendEvent(window.findChild<QDockWidget*>("SpeedBar"), &enter);
            QCoreApplication::sendEvent(window.findChild<QDockWidget*>("SpeedBar"), &drop);
        },
        [&] { window.Commands().Run(Command::DeleteAll); },
    };
    for (const auto& message : messages)
        findings.Text(QStringLiteral("message"), test::CloseMessageBox(message).text);
    EXPECT_TRUE(findings.found.isEmpty()) << findings.found.join(u'\n').toStdString();
}

// The translation file: every text the sources mark has a finished English
// translation, which keeps the text's placeholders and accelerator. lupdate
// merges the texts it gathers into a copy of the file, marking each new or
// changed one unfinished.
TEST(EnglishTranslation, EveryMarkedTextIsTranslatedKeepingItsPlaceholdersAndAccelerator)
{
    QTemporaryDir folder;
    const QString merged = folder.filePath("kivo_en.ts");
    ASSERT_TRUE(QFile::copy(QStringLiteral(KIVO_SOURCE_DIR "/translations/kivo_en.ts"), merged));
    QProcess lupdate;
    lupdate.start(QStringLiteral(KIVO_LUPDATE), {"-silent", "-locations", "none", QStringLiteral(KIVO_SOURCE_DIR "/src"),
                                                 "-ts", merged});
    ASSERT_TRUE(lupdate.waitForFinished(120000) && lupdate.exitCode() == 0) << lupdate.readAllStandardError().data();
    const QRegularExpression message(QStringLiteral(
        R"(<source>([^<]*)</source>(?:\s*<(?!translation)\w+>[^<]*</\w+>)*\s*<translation([^>]*)>([^<]*)</translation>)"));
    const auto placeholders = [](const QString& text) {
        std::multiset<QString> found;
        for (const QRegularExpressionMatch& match : QRegularExpression(QStringLiteral("%\\d")).globalMatch(text))
            found.insert(match.captured());
        return found;
    };
    const QString translation = QString::fromUtf8(test::ReadFile(merged));
    int messages = 0;
    for (const QRegularExpressionMatch& match : message.globalMatch(translation)) {
        const auto text = [&match](int part) {
            QXmlStreamReader xml("<t>" + match.captured(part) + "</t>");
            xml.readNextStartElement();
            return xml.readElementText();
        };
        const QString source = text(1);
        const QString english = text(3);
        const std::string where = source.toStdString();
        ++messages;
        EXPECT_FALSE(match.captured(2).contains("unfinished") || english.isEmpty() || HasJapanese(english))
            << "no English for " << where;
        EXPECT_EQ(placeholders(english), placeholders(source)) << where;
        EXPECT_EQ(QKeySequence::mnemonic(english).isEmpty(), QKeySequence::mnemonic(source).isEmpty()) << where;
    }
    EXPECT_GT(messages, 250);
    EXPECT_EQ(messages, translation.count(QStringLiteral("<message")));
}

}  // namespace
}  // namespace kivo
