#include "ui/MainWindow.h"

#include "ui/AboutDialog.h"
#include "ui/CommandActions.h"
#include "ui/ControlBars.h"
#include "cutlist/Playlists.h"
#include "session/CommandRules.h"
#include "session/FileTypeAssociation.h"
#include "ui/HelpWindow.h"
#include "ui/MediaFileDialog.h"
#include "core/Settings.h"
#include "ui/SplashWindow.h"
#include "cutlist/AddingMedia.h"
#include "ui/CutListView.h"
#include "cutlist/FileNames.h"
#include "ui/LoadingDialog.h"
#include "ui/OverrideCursor.h"
#include "cutlist/RandomOrder.h"
#include "cutlist/ShownText.h"
#include "cutlist/Sorting.h"
#include "ui/PlayerWindow.h"
#include "ui/PropertySheet.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace kivo {
namespace {

const QString kApplicationTitle = QStringLiteral("Kivo231");

// The row of the scenario dialogs: the description as the user reads it (the
// dialogs hide the pattern that follows). Both dialogs end with all files.
const QString kScenarioFilter = QStringLiteral("Kivo scenario file(*.kvo) (*.kvo)");
const char* const kPlaylistFilter = QT_TRANSLATE_NOOP("kivo::MainWindow", "ﾌﾟﾚｲﾘｽﾄ (*.m3u *.m3u8 *.pls *.xspf)");
const QString kFilterSeparator = QStringLiteral(";;");
// The formats a cut list is exported to, each with the extension it takes.
const char* const kM3u8Filter = QT_TRANSLATE_NOOP("kivo::MainWindow", "M3U8 ﾌﾟﾚｲﾘｽﾄ (*.m3u8)");
const char* const kXspfFilter = QT_TRANSLATE_NOOP("kivo::MainWindow", "XSPF ﾌﾟﾚｲﾘｽﾄ (*.xspf)");

// The menu bar.
const std::vector<MenuItem>& MainMenus()
{
    using enum Command;
    static const std::vector<MenuItem> menus = {
        {QT_TRANSLATE_NOOP("Menu", "ﾌｧｲﾙ(&F)"),
         {NewFile, OpenFile, OpenMediaFiles, SaveFile, SaveFileAs, ExportPlaylist, kSeparator, RecentFile1, RecentFile2, RecentFile3,
          RecentFile4, kSeparator, Exit}},
        {QT_TRANSLATE_NOOP("Menu", "編集(&E)"),
         {DeleteInvalid, DeleteAll, kSeparator,
          {QT_TRANSLATE_NOOP("Menu", "名前の変更(&N)"), {NameAllByFileName, NameAllByPath, ClearAllNames}}}},
        {QT_TRANSLATE_NOOP("Menu", "表示(&V)"),
         {ToolBar, StatusBar, NavigationBar, ControlBar, VolumeBar, SpeedBar, kSeparator, LargeIcons, SmallIcons, List,
          Details, kSeparator,
          {QT_TRANSLATE_NOOP("Menu", "ｱｲｺﾝの整列(&I)"),
           {SortByName, SortByMediaTime, SortByType, SortBySize, SortByDate, Shuffle, kSeparator, AutoArrange}},
          ArrangeIcons}},
        {QT_TRANSLATE_NOOP("Menu", "ﾌﾟﾚｲﾔ(&P)"),
         {PlayPause, Stop, kSeparator, Previous, Next, RepeatList, kSeparator, ShowPlayer, Sound, kSeparator, PlayerSizeMenu(),
          kSeparator, Snapshot, kSeparator, PlayerProperties}},
        {QT_TRANSLATE_NOOP("Menu", "ﾂｰﾙ(&T)"), {SearchMedia}},
        {QT_TRANSLATE_NOOP("Menu", "ﾍﾙﾌﾟ(&H)"), {HelpContents, kSeparator, About}},
    };
    return menus;
}

// The list's menu of the object under the pointer.
const std::vector<MenuItem>& ObjectMenu()
{
    using enum Command;
    static const std::vector<MenuItem> items = {
        PlayObject, kSeparator, DeleteObject, EditObjectName,
        {QT_TRANSLATE_NOOP("Menu", "名前の変更(&N)"), {NameObjectByFileName, NameObjectByPath}}, kSeparator,
        ObjectProperties,
    };
    return items;
}

// The list's menu over empty space; its sort by date reads "日時順".
const std::vector<MenuItem>& ViewMenu()
{
    using enum Command;
    static const std::vector<MenuItem> items = {
        LargeIcons, SmallIcons, List, Details, kSeparator,
        {QT_TRANSLATE_NOOP("Menu", "ｱｲｺﾝの整列(&I)"),
         {SortByName, SortByMediaTime, SortByType, SortBySize, {SortByDate, QT_TRANSLATE_NOOP("Menu", "日時順(&D)")},
          Shuffle, kSeparator, AutoArrange}},
        ArrangeIcons,
    };
    return items;
}

const char* const kIdleMessage = QT_TRANSLATE_NOOP("kivo::MainWindow", "ﾚﾃﾞｨ");

// The view modes' commands.
using ViewMode = std::pair<Command, ListViewType>;
const ViewMode kViewModes[] = {{Command::LargeIcons, ListViewType::LargeIcons},
                               {Command::SmallIcons, ListViewType::SmallIcons},
                               {Command::List, ListViewType::List},
                               {Command::Details, ListViewType::Details}};

}  // namespace

MainWindow::MainWindow(Settings& settings, Session& session, QWidget* parent)
    : QMainWindow(parent), m_settings(settings), m_session(session), m_view(new CutListView(session.list, this)),
      m_loading(new LoadingDialog(session.loader, this)), m_bars(new ControlBars(*this)),
      m_frame(*m_bars, session.View()), m_file(session.document, settings, *this),
      m_search(this, settings, session.document, session.editor), m_messagePane(new QLabel(tr(kIdleMessage))),
      m_firstRun(settings.Get(setting::kX) == -1)
{
    // The stored place is the frame's: it must be set before the native
    // window exists (which the player window's video makes it do), so that
    // the window manager puts the frame, not the inside, there.
    resize(settings.Get(setting::kCx), settings.Get(setting::kCy));
    if (settings.Get(setting::kX) != -1 && settings.Get(setting::kY) != -1)
        move(settings.Get(setting::kX), settings.Get(setting::kY));
    m_player = new PlayerWindow(settings, session.engine, this);
    setCentralWidget(m_view);
    setAcceptDrops(true);
    m_view->RestoreLayout(settings);

    // What the user does in the list and the player window.
    connect(m_bars, &ControlBars::idleMessageWanted, this, [this] { ShowStatus(tr(kIdleMessage)); });
    connect(m_view, &CutListView::sortRequested, this, &MainWindow::SortBy);
    connect(m_view, &CutListView::contextMenuRequested, this, &MainWindow::ShowListMenu);
    CutListEditor& editor = session.editor;
    connect(m_view, &CutListView::moveRequested, this, [&editor](int from, int to) { editor.MoveObject(from, to); });
    connect(m_view, &CutListView::deleteRequested, this, [&editor](int position) { editor.DeleteObject(position); });
    connect(m_view, &CutListView::objectClicked, this, [&session](int position) { session.playback.PlayNext(position); });
    connect(m_view, &CutListView::spaceClicked, &session.document, &CutListDocument::UpdateSummary);
    connect(m_player, &PlayerWindow::commandRequested, this, [this](Command command) { m_commands.Run(command); });

    BuildBars();
    BuildCommands();
    BuildMenus();
    // Restoring shows the bars that float at once, before the main window
    // is on the screen; they are held back below, and meanwhile must not
    // reach the window manager, which would take them in and let them go.
    const QList<QDockWidget*> bars = findChildren<QDockWidget*>();
    for (QDockWidget* bar : bars)
        bar->setAttribute(Qt::WA_DontShowOnScreen);
    restoreState(settings.GetBarState());
    for (QDockWidget* bar : bars)
        bar->setAttribute(Qt::WA_DontShowOnScreen, false);
    if (m_firstRun) {
        m_bars->VolumeBar()->setFloating(true);
        m_bars->SpeedBar()->setFloating(true);
    }
    // Floating bars come up once the window manager has taken the main
    // window in: shown before, they could not be bound to it.
    for (QDockWidget* bar : bars) {
        if (bar->isFloating() && !bar->isHidden()) {
            bar->hide();
            m_heldBars.push_back(bar);
        }
    }
    // The file type's files and tools are left to a worker: they do not
    // hold up the first start.
    RegisterFileType(settings);
    // The saved volume takes effect once the window is up.
    QMetaObject::invokeMethod(
        this, [this, volume = settings.Get(setting::kVolumePos)] { m_frame.SetVolume(volume); },
        Qt::QueuedConnection);
    connect(&m_file, &DocumentFile::titleChanged, this, &QWidget::setWindowTitle);
    m_file.New();
}

MainWindow::~MainWindow() = default;

QString MainWindow::Message() const
{
    return m_messagePane->text();
}

void MainWindow::ShowStatus(const QString& text)
{
    m_messagePane->setText(ShownText(text));
}

void MainWindow::ShowPlayerWindow(bool show)
{
    if (!show) {
        m_player->hide();
        return;
    }
    // It first comes up at the list's top left corner; the user places it
    // from then on.
    if (!std::exchange(m_playerPlaced, true))
        m_player->move(m_view->mapToGlobal(QPoint(0, 0)));
    m_player->ShowOnTop();
}

void MainWindow::ShowMessage(const QString& text, PlaybackHost::Icon icon)
{
    if (icon == PlaybackHost::Icon::Stop)
        QMessageBox::critical(this, kApplicationTitle, ShownText(text));
    else
        QMessageBox::warning(this, kApplicationTitle, ShownText(text));
}

void MainWindow::BuildCommands()
{
    m_commands.AfterEachRun([this] { emit commandRan(); });
    AddFileCommands();
    AddEditingCommands();
    AddObjectCommands();
    AddViewCommands();
    AddArrangementCommands();
    AddPlayerCommands();
    AddPlayerOptionCommands();
    AddBarCommands();
    AddHelpCommands();
}

void MainWindow::AddFileCommands()
{
    const auto c = Adder();
    c(Command::NewFile, [this] {
        if (m_file.MaySaveChanges())
            m_file.New();
    });
    c(Command::OpenFile, [this] {
        const QString filters = QStringList{kScenarioFilter, tr(kPlaylistFilter), AllFilesFilter()}.join(kFilterSeparator);
        const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), filters, nullptr,
                                                          QFileDialog::HideNameFilterDetails);
        if (!path.isEmpty())
            OpenDocument(path);
    });
    c(Command::OpenMediaFiles, [this] { OpenMediaFiles(); });
    c(Command::SaveFile, [this] { m_file.Save(); });
    c(Command::SaveFileAs, [this] { m_file.SaveAs(); });
    c(Command::ExportPlaylist, [this] { ExportPlaylist(); });
    for (int i = 0; i < Settings::kRecentFileCount; ++i)
        c(RecentFileCommand(i), [this, i] { OpenDocument(m_settings.GetRecentFiles().value(i)); });
    c(Command::Exit, [this] { close(); });
}

void MainWindow::AddEditingCommands()
{
    const auto c = Adder();
    c(Command::DeleteAll, [this] {
        if (!Confirm(tr("すべてのオブジェクトを、カットリストから削除しますか？")))
            return;
        OverrideCursor wait(Qt::WaitCursor);
        m_session.editor.DeleteAll();
    });
    c(Command::DeleteInvalid, [this] {
        if (!Confirm(tr("無効なオブジェクトを、カットリストからすべて削除しますか？")))
            return;
        OverrideCursor wait(Qt::WaitCursor);
        m_session.editor.DeleteInvalid();
    });
    using Naming = CutListEditor::Naming;
    const std::tuple<Command, Naming, const char*> renamings[] = {
        {Command::NameAllByPath, Naming::FullPath,
         QT_TR_NOOP("すべてのオブジェクトの名前を、メディアのフルパス名に変更しますか？")},
        {Command::NameAllByFileName, Naming::FileName, QT_TR_NOOP("すべてのオブジェクトの名前を、ファイル名に変更しますか？")},
        {Command::ClearAllNames, Naming::Empty, QT_TR_NOOP("すべてのオブジェクトの名前を、削除しますか？")}};
    for (const auto& [command, naming, question] : renamings) {
        c(command, [this, naming = naming, question = question] {
            if (Confirm(tr(question)))
                m_session.editor.RenameAll(naming);
        });
    }
}

void MainWindow::AddObjectCommands()
{
    // The object menu's commands act on the object last right-clicked.
    const auto c = Adder();
    using Naming = CutListEditor::Naming;
    c(Command::PlayObject, [this] { m_session.playback.PlayNext(m_nMenuItem); });
    c(Command::DeleteObject, [this] { m_session.editor.DeleteObject(m_nMenuItem); });
    c(Command::EditObjectName, [this] { m_view->EditLabel(m_nMenuItem); });
    c(Command::NameObjectByFileName, [this] { m_session.editor.RenameObject(m_nMenuItem, Naming::FileName); });
    c(Command::NameObjectByPath, [this] { m_session.editor.RenameObject(m_nMenuItem, Naming::FullPath); });
    c(Command::ObjectProperties, [this] { ShowObjectProperties(m_nMenuItem, false); });
}

void MainWindow::AddViewCommands()
{
    // The view modes are one choice: radio marks.
    auto* viewModes = new QActionGroup(this);
    for (const auto& [command, type] : kViewModes) {
        Adder()(command, [this, type = type] { m_view->ChangeViewType(type); });
        viewModes->addAction(ActionOf(command));
    }
}

void MainWindow::AddArrangementCommands()
{
    const auto c = Adder();
    const std::pair<Command, SortKey> sorts[] = {{Command::SortByName, SortKey::Name},
                                                 {Command::SortByMediaTime, SortKey::MediaTime},
                                                 {Command::SortBySize, SortKey::Size},
                                                 {Command::SortByType, SortKey::Type},
                                                 {Command::SortByDate, SortKey::Date}};
    for (const auto& [command, key] : sorts)
        c(command, [this, key = key] { SortBy(key); });
    c(Command::Shuffle, [this] {
        OverrideCursor wait(Qt::WaitCursor);
        m_session.editor.Shuffle(RandomSeedFromClock());
    });
    c(Command::AutoArrange, [this] { m_view->SetAutoArrange(!m_view->IsAutoArrange()); });
    c(Command::ArrangeIcons, [this] { m_view->Arrange(); });
}

void MainWindow::AddPlayerCommands()
{
    const auto c = Adder();
    c(Command::PlayPause, [this] { m_session.playback.PlayPause(); });
    c(Command::Pause, [this] { m_session.playback.Pause(); });
    c(Command::Stop, [this] { m_session.playback.Stop(); });
    c(Command::Previous, [this] { m_session.playback.PlayNext(m_session.list.FindCurrentItem() - 1); });
    c(Command::Next, [this] { m_session.playback.PlayNext(m_session.list.FindCurrentItem() + 1); });
    c(Command::ShowPlayer, [this] { ShowPlayerWindow(!m_player->isVisible()); });
    for (const auto& [command, size] : {std::pair{Command::NormalSize, 1}, std::pair{Command::DoubleSize, 2},
                                        std::pair{Command::MaximumSize, 0}}) {
        c(command, [this, size = size] { m_player->SetSize(size); });
    }
    c(Command::FullScreen, [this] { m_player->SetFullScreen(true); });
    // The player's properties open on the playback page.
    c(Command::PlayerProperties, [this] { ShowObjectProperties(-1, true); });
    c(Command::Snapshot, [this] { m_player->SaveSnapshot(); });
    c(Command::Sound, [this] { m_frame.ToggleSound(); });
    c(Command::NormalSpeed, [this] { m_frame.SetNormalSpeed(); });
}

void MainWindow::AddPlayerOptionCommands()
{
    const auto c = Adder();
    // The player's own switches; Mute is the player's mute, on no menu.
    MediaEngine& engine = m_session.engine;
    c(Command::Mute, [&engine] { engine.SetMute(!engine.IsMuted()); });
    for (const auto& [command, option] : {std::pair{Command::AutoRewind, &PlayerOptions::autoRewind},
                                          std::pair{Command::Repeat, &PlayerOptions::repeat},
                                          std::pair{Command::AutoSize, &PlayerOptions::autoSize}}) {
        c(command, [&engine, option = option] { engine.SetOption(option, !(engine.Options().*option)); });
    }
    // The sequence's switch, kept as soon as it changes.
    m_session.playback.SetRepeatList(m_settings.Get(setting::kRepeatList) != 0);
    c(Command::RepeatList, [this] {
        PlaybackSequencer& playback = m_session.playback;
        playback.SetRepeatList(!playback.RepeatsList());
        m_settings.Set(setting::kRepeatList, playback.RepeatsList() ? 1 : 0);
    });
    c(Command::Stretch, [this, &engine] {
        engine.SetOption(&PlayerOptions::stretch, !engine.Options().stretch);
        m_player->LayoutVideo();
    });
}

void MainWindow::AddBarCommands()
{
    for (const auto& [command, bar] : BarSwitches())
        Adder()(command, [this, bar = bar] { ShowBar(bar, !IsBarShown(bar)); });
}

std::vector<std::pair<Command, QWidget*>> MainWindow::BarSwitches()
{
    return {{Command::ToolBar, m_toolBar},
            {Command::StatusBar, statusBar()},
            {Command::NavigationBar, m_naviBar},
            {Command::ControlBar, m_bars->ControlBar()},
            {Command::VolumeBar, m_bars->VolumeBar()},
            {Command::SpeedBar, m_bars->SpeedBar()}};
}

bool MainWindow::IsBarShown(const QWidget* bar) const
{
    return bar->isVisible() || std::ranges::find(m_heldBars, bar) != m_heldBars.end();
}

void MainWindow::ShowBar(QWidget* bar, bool shown)
{
    std::erase(m_heldBars, bar);
    bar->setVisible(shown);
}

void MainWindow::AddHelpCommands()
{
    const auto c = Adder();
    c(Command::SearchMedia, [this] { m_search.Search(); });
    c(Command::About, [this] { AboutDialog(this).exec(); });
    c(Command::HelpContents, [this] { HelpWindow::Show(this); });
}

std::function<void(Command, CommandTable::Action)> MainWindow::Adder()
{
    // Each command's enabling and check mark follow the session's rules.
    return [this](Command command, CommandTable::Action action) {
        m_commands.Add(command, std::move(action), [this, command] { return StateOf(command).enabled; },
                       [this, command] { return StateOf(command).checked; });
    };
}

CommandFacts MainWindow::CurrentCommandFacts()
{
    CommandFacts facts = SessionCommandFacts(m_session, m_frame, m_settings);
    facts.selectedObjects = m_view->SelectedObjectCount();
    facts.viewMode = std::ranges::find(kViewModes, m_view->ViewType(), &ViewMode::second)->first;
    facts.autoArrange = m_view->IsAutoArrange();
    facts.playerShown = m_player->isVisible();
    facts.fullScreen = m_player->IsFullScreen();
    for (const auto& [command, bar] : BarSwitches()) {
        if (IsBarShown(bar))
            facts.shownBars.push_back(command);
    }
    return facts;
}

CommandState MainWindow::StateOf(Command command)
{
    return CommandStateOf(command, CurrentCommandFacts());
}

QAction* MainWindow::ActionOf(Command command, const QString& text)
{
    QAction*& action = m_actions[{command, text}];
    if (action)
        return action;
    action = NewCommandAction(command, this, text);
    action->setIcon(PictureIcon(CommandInfoOf(command).picture));
    connect(action, &QAction::triggered, this, [this, command] { m_commands.Run(command); });
    return action;
}

void MainWindow::UpdateActions(const QList<QAction*>& actions)
{
    const CommandFacts facts = CurrentCommandFacts();
    for (QAction* action : actions) {
        if (action->isSeparator() || !action->data().isValid())
            continue;
        const CommandState state = CommandStateOf(CommandOf(action), facts);
        const bool checked = state.checked;
        action->setEnabled(state.enabled);
        // A command of a group of choices keeps its radio mark's place.
        action->setCheckable(checked || action->actionGroup() != nullptr);
        action->setChecked(checked);
    }
}

void MainWindow::Populate(QMenu* menu, const std::vector<MenuItem>& items)
{
    FillMenu(menu, items, [this](const MenuItem& item, QMenu*) { return ActionOf(item.command, item.ShownText()); });
    // Enabling and check marks are asked for each time a menu opens.
    QList<QMenu*> menus = menu->findChildren<QMenu*>();
    menus.append(menu);
    for (QMenu* each : menus)
        connect(each, &QMenu::aboutToShow, this, [this, each] { UpdateActions(each->actions()); });
}

QToolBar* MainWindow::AddToolBar(const QString& title, const QString& name, const std::vector<Command>& commands)
{
    QToolBar* bar = addToolBar(title);
    bar->setObjectName(name);
    bar->setIconSize(QSize(16, 16));
    for (Command command : commands) {
        if (command == kSeparator)
            bar->addSeparator();
        else
            bar->addAction(ActionOf(command));
    }
    return bar;
}

void MainWindow::BuildBars()
{
    m_toolBar = AddToolBar(QStringLiteral("Tool Bar"), QStringLiteral("ToolBar"),
                           {Command::NewFile, Command::OpenFile, Command::SaveFile, kSeparator, Command::DeleteInvalid,
                            Command::DeleteAll, kSeparator, Command::LargeIcons, Command::SmallIcons, Command::List,
                            Command::Details, kSeparator, Command::ShowPlayer, Command::Sound, kSeparator,
                            Command::SearchMedia, kSeparator, Command::About});
    m_naviBar = AddToolBar(QStringLiteral("Navigation Bar"), QStringLiteral("NavigationBar"),
                           {Command::Previous, Command::Next});
    m_locks.Watch([this] { ShowLocks(); });

    // The message pane, then the keyboard's lock indicators.
    m_messagePane->setObjectName(QStringLiteral("messagePane"));
    statusBar()->addWidget(m_messagePane, 1);
    const char* const indicators[] = {QT_TR_NOOP("ｶﾅ"), "CAP", "NUM", "SCRL"};
    for (size_t lock = 0; lock < m_lockPanes.size(); ++lock) {
        m_lockPanes[lock] = new QLabel(tr(indicators[lock]));
        m_lockPanes[lock]->setEnabled(false);
        statusBar()->addPermanentWidget(m_lockPanes[lock]);
    }
    ShowLocks();

    connect(m_bars, &ControlBars::commandRequested, this, [this](Command command) { m_commands.Run(command); });
    connect(m_bars, &ControlBars::sliderMoved, this,
            [this](FrameProtocol::Slider slider, int position) { m_frame.OnSliderMoved(slider, position); });
    connect(m_bars, &ControlBars::positionSliderReleased, this, [this] { m_frame.OnPositionSliderReleased(); });

    // Files dropped on a bar, floating or not, are dropped on the window.
    for (QWidget* bar : std::initializer_list<QWidget*>{m_toolBar, m_naviBar, m_bars->ControlBar(),
                                                       m_bars->VolumeBar(), m_bars->SpeedBar()}) {
        bar->setAcceptDrops(true);
        bar->installEventFilter(this);
    }
}

void MainWindow::RefreshCommandStates()
{
    UpdateActions(m_toolBar->actions() + m_naviBar->actions());
}

void MainWindow::ShowLocks()
{
    // Off X11 the panes stay greyed.
    if (const std::optional<LockStates> locks = m_locks.Query()) {
        for (size_t lock = 0; lock < m_lockPanes.size(); ++lock)
            m_lockPanes[lock]->setEnabled((*locks)[lock]);
    }
}

void MainWindow::PlaceFloatingSoundBars()
{
    // Side by side at the top right corner of the list, the volume bar
    // outermost.
    QPoint corner = centralWidget()->mapToGlobal(QPoint(centralWidget()->width(), 0));
    for (QDockWidget* bar : {m_bars->VolumeBar(), m_bars->SpeedBar()}) {
        bar->resize(bar->sizeHint());
        corner.rx() -= bar->frameGeometry().width();
        bar->move(corner);
    }
}

void MainWindow::NameRecentFiles(QMenu* file)
{
    // The entries show the files of the list; only the first, greyed, while
    // the list is empty.
    connect(file, &QMenu::aboutToShow, this, [this] {
        const QStringList files = m_settings.GetRecentFiles();
        for (int i = 0; i < Settings::kRecentFileCount; ++i) {
            const Command command = RecentFileCommand(i);
            QAction* entry = ActionOf(command);
            entry->setVisible(i < files.size() || i == 0);
            entry->setText(i < files.size() ? QStringLiteral("&%1 %2").arg(i + 1).arg(ShownPath(files.at(i)))
                                            : CommandText(CommandInfoOf(command).menuText));
        }
    });
}

void MainWindow::BuildMenus()
{
    for (const MenuItem& menu : MainMenus())
        Populate(menuBar()->addMenu(menu.ShownText()), menu.items);
    NameRecentFiles(menuBar()->actions().constFirst()->menu());
}

void MainWindow::SortBy(SortKey key)
{
    OverrideCursor wait(Qt::WaitCursor);
    m_session.editor.Sort(key);
}

void MainWindow::ShowObjectProperties(int menuItem, bool playbackPage)
{
    ShowProperties({.list = m_session.list,
                    .cache = m_session.cache,
                    .engine = m_session.engine,
                    .menuItem = menuItem,
                    .bPlayback = playbackPage,
                    .levels = {.setBalance = [this](int balance) { m_frame.SetBalance(balance); },
                               .setVolume = [this](int volume) { m_frame.SetVolume(volume); },
                               .setSpeed = [this](int speed) { return m_frame.SetSpeed(speed); }},
                    .layoutVideo = [this] { m_player->LayoutVideo(); }},
                   this);
}

bool MainWindow::Confirm(const QString& question)
{
    return QMessageBox::question(this, kApplicationTitle, question, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

void MainWindow::ShowListMenu(int position, const QPoint& globalPos)
{
    m_session.document.UpdateSummary();
    m_nMenuItem = position;
    QMenu menu(this);
    Populate(&menu, position >= 0 && m_view->SelectedObjectCount() == 1 ? ObjectMenu() : ViewMenu());
    menu.exec(globalPos);
}

DocumentQuestions::Answer MainWindow::AskToSaveChanges(const QString& question)
{
    switch (QMessageBox::question(this, kApplicationTitle, question,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

QString MainWindow::ChooseSavePath(const QString& start)
{
    return QFileDialog::getSaveFileName(this, tr("名前を付けて保存"), start,
                                        kScenarioFilter + kFilterSeparator + AllFilesFilter(), nullptr,
                                        QFileDialog::HideNameFilterDetails);
}

void MainWindow::BringForward()
{
    raise();
    activateWindow();
}

void MainWindow::AddMedia(const QStringList& paths, std::function<void()> done)
{
    m_session.document.AddMediaAndCue(paths, std::move(done));
}

void MainWindow::OpenSentDocument(const QString& path)
{
    m_session.playback.Stop();
    m_session.playback.HidePlayer();
    OpenDocument(path);
}

void MainWindow::OpenDocument(const QString& path, std::function<void(bool)> done)
{
    m_file.Open(path, std::move(done));
}

void MainWindow::SaveDocument(const QString& path)
{
    m_file.SaveTo(path);
}

void MainWindow::ExportPlaylist()
{
    QString filter = tr(kM3u8Filter);
    const QString path = QFileDialog::getSaveFileName(this, tr("ﾌﾟﾚｲﾘｽﾄのｴｸｽﾎﾟｰﾄ"), QString(),
                                                      tr(kM3u8Filter) + kFilterSeparator + tr(kXspfFilter), &filter);
    if (path.isEmpty())
        return;
    m_session.document.ExportPlaylist(
        ExportFileName(path, filter == tr(kXspfFilter) ? PlaylistFormat::Xspf : PlaylistFormat::M3u8));
}

void MainWindow::OpenMediaFiles()
{
    AddMedia(MediaFileDialog(m_settings, this).Choose());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle()) {
        if (event->type() == QEvent::Expose && windowHandle()->isExposed() && !std::exchange(m_managed, true)) {
            windowHandle()->removeEventFilter(this);
            QMetaObject::invokeMethod(this, &MainWindow::OnWindowManaged, Qt::QueuedConnection);
        }
        return false;
    }
    if (event->type() == QEvent::DragEnter) {
        dragEnterEvent(static_cast<QDragEnterEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::Drop) {
        dropEvent(static_cast<QDropEvent*>(event));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    QStringList dropped;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (const QString path = FileNameOfUrl(url); !path.isEmpty())
            dropped.append(path);
    }
    if (DropPaths(dropped))
        event->acceptProposedAction();
}

bool MainWindow::DropPaths(const QStringList& dropped)
{
    // The window comes to the front, whichever program the files came from.
    BringForward();
    const QStringList collected = ExpandDroppedPaths(dropped);
    if (collected.isEmpty()) {
        QMessageBox::information(this, kApplicationTitle,
                                 QCoreApplication::translate("AddingMedia", kNoFilesInFolderMessage));
        return false;
    }
    if (DropOpensDocument(dropped)) {
        OpenSentDocument(collected.first());
        return true;
    }
    AddMedia(collected);
    return true;
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The first exposure tells when the window manager has taken the window in.
    if (!m_managed && windowHandle() != nullptr)
        windowHandle()->installEventFilter(this);
}

void MainWindow::OnWindowManaged()
{
    // Shown now, the floating bars stay above the main window and go with it
    // when it is minimised, and the splash comes up over it.
    ShowHeldBars();
    (new SplashWindow(this))->ShowCentred();
    emit managed();
}

void MainWindow::ShowHeldBars()
{
    // A first run's floating bars have had no place of their own yet.
    if (std::exchange(m_firstRun, false))
        PlaceFloatingSoundBars();
    for (QDockWidget* bar : std::exchange(m_heldBars, {})) {
        // The keyboard stays with the main window that was just given it.
        bar->setAttribute(Qt::WA_ShowWithoutActivating);
        bar->show();
    }
}

void MainWindow::SavePlacement()
{
    // The normal rectangle by its outer top-left corner, as move() takes it,
    // and its inner size, as resize() takes it.
    const QRect normal = normalGeometry();
    const QPoint corner = normal.topLeft() - (geometry().topLeft() - pos());
    const int showCmd = isMinimized() ? 2 : isMaximized() ? 3 : 1;
    // Bars held back for a window manager that never came (or not yet: a
    // run ended right after its start) are kept as shown, in the places
    // they would have been shown at.
    ShowHeldBars();
    const std::pair<IntSetting, int> values[] = {
        {setting::kFlags, 0},
        {setting::kShowCmd, showCmd},
        {setting::kMinPosX, -1},
        {setting::kMinPosY, -1},
        {setting::kMaxPosX, -1},
        {setting::kMaxPosY, -1},
        {setting::kNorPosTop, corner.y()},
        {setting::kNorPosBottom, corner.y() + normal.height()},
        {setting::kNorPosLeft, corner.x()},
        {setting::kNorPosRight, corner.x() + normal.width()},
        {setting::kX, corner.x()},
        {setting::kY, corner.y()},
        {setting::kCx, normal.width()},
        {setting::kCy, normal.height()},
        {setting::kVolumePos, m_bars->VolumePosition()},
    };
    for (const auto& [value, number] : values)
        m_settings.Set(value, number);
    m_settings.SetBarState(saveState());
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Placement and bars are kept even when the user then cancels the close.
    SavePlacement();
    if (!m_file.MaySaveChanges()) {
        event->ignore();
        return;
    }
    EndRun();
    event->accept();
}

void MainWindow::CloseQuietly()
{
    SavePlacement();
    EndRun();
    // Not quit(), which would close every window first, the bars before the
    // main window, and ask about changes.
    QCoreApplication::exit(0);
}

void MainWindow::EndRun()
{
    m_session.End();
    m_view->SaveLayout(m_settings);
}

}  // namespace kivo
