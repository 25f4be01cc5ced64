#include "ui/MainWindow.h"

#include "ui/AboutDialog.h"
#include "ui/ControlBars.h"
#include "session/FileTypeAssociation.h"
#include "ui/HelpWindow.h"
#include "ui/MediaFileDialog.h"
#include "core/Settings.h"
#include "ui/SplashWindow.h"
#include "cutlist/AddingMedia.h"
#include "ui/CutListView.h"
#include "cutlist/FileNames.h"
#include "ui/LoadingDialog.h"
#include "ui/MediaSearchDialog.h"
#include "ui/OverrideCursor.h"
#include "cutlist/RandomOrder.h"
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

namespace kivo {
namespace {

const QString kApplicationTitle = QStringLiteral("Kivo231");
// The row of the scenario dialogs: the description as the user reads it (the
// dialogs hide the pattern that follows).
const QString kScenarioFilter = QStringLiteral("Kivo scenario file(*.kvo) (*.kvo)");

// The menu texts of the commands, with their accelerators after a tab.
const std::map<int, QString>& MenuTexts()
{
    static const std::map<int, QString> texts = {
        {57600, QStringLiteral("新規作成(&N)\tCtrl+N")},
        {57601, QStringLiteral("開く(&O)...\tCtrl+O")},
        {32840, QStringLiteral("ﾒﾃﾞｨｱﾌｧｲﾙを開く(&I)...")},
        {57603, QStringLiteral("上書き保存(&S)\tCtrl+S")},
        {57604, QStringLiteral("名前を付けて保存(&A)...")},
        {57665, QStringLiteral("終了(&X)")},
        {32793, QStringLiteral("無効を削除(&D)")},
        {32794, QStringLiteral("すべて削除(&A)")},
        {32816, QStringLiteral("ﾌｧｲﾙ名(&F)")},
        {32815, QStringLiteral("ﾊﾟｽ名(&P)")},
        {32836, QStringLiteral("削除(&C)")},
        {59392, QStringLiteral("ﾂｰﾙ ﾊﾞｰ(&T)")},
        {59393, QStringLiteral("ｽﾃｰﾀｽ ﾊﾞｰ(&S)")},
        {32834, QStringLiteral("ﾅﾋﾞｹﾞｰｼｮﾝ ﾊﾞｰ(&N)")},
        {32785, QStringLiteral("ｺﾝﾄﾛｰﾙ ﾊﾞｰ(&C)")},
        {32824, QStringLiteral("ﾎﾞﾘｭｰﾑ ﾊﾞｰ(&V)")},
        {32825, QStringLiteral("ｽﾋﾟｰﾄﾞ ﾊﾞｰ(&R)")},
        {32771, QStringLiteral("大きいｱｲｺﾝ(&G)")},
        {32772, QStringLiteral("小さいｱｲｺﾝ(&M)")},
        {32774, QStringLiteral("一覧(&L)")},
        {32773, QStringLiteral("詳細(&D)")},
        {32775, QStringLiteral("名前順(&N)")},
        {32776, QStringLiteral("ﾒﾃﾞｨｱ時間順(&M)")},
        {32823, QStringLiteral("種類順(&T)")},
        {32812, QStringLiteral("ｻｲｽﾞ順(&Z)")},
        {32814, QStringLiteral("日付順(&D)")},
        {32820, QStringLiteral("ﾗﾝﾀﾞﾑ(&R)")},
        {32822, QStringLiteral("ｱｲｺﾝの自動整列(&A)")},
        {32777, QStringLiteral("等間隔に整列(&U)")},
        {32779, QStringLiteral("再生/一時停止(&P)")},
        {32780, QStringLiteral("一時停止")},
        {32781, QStringLiteral("停止(&S)")},
        {32833, QStringLiteral("前に戻る(&B)")},
        {32832, QStringLiteral("次に進む(&F)")},
        {32790, QStringLiteral("画面(&V)")},
        {32795, QStringLiteral("音声(&A)")},
        {32802, QStringLiteral("標準(&S)")},
        {32808, QStringLiteral("２倍(&D)")},
        {32809, QStringLiteral("最大(&M)")},
        {32799, QStringLiteral("ﾌﾙｽｸﾘｰﾝ(&F)")},
        {32810, QStringLiteral("ｽﾅｯﾌﾟｼｮｯﾄ(&X)...")},
        {32792, QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ(&R)")},
        {32811, QStringLiteral("ﾒﾃﾞｨｱﾌｧｲﾙの検索(&F)...")},
        {57670, QStringLiteral("目次(&H)\tF1")},
        {57664, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(Kivo) (&A)...")},
    };
    return texts;
}

// The tool bar buttons' pictures.
QStyle::StandardPixmap ButtonPicture(int command)
{
    static const std::map<int, QStyle::StandardPixmap> pictures = {
        {57600, QStyle::SP_FileIcon},
        {57601, QStyle::SP_DialogOpenButton},
        {57603, QStyle::SP_DialogSaveButton},
        {32793, QStyle::SP_DialogDiscardButton},
        {32794, QStyle::SP_TrashIcon},
        {32771, QStyle::SP_FileDialogContentsView},
        {32772, QStyle::SP_FileDialogInfoView},
        {32774, QStyle::SP_FileDialogListView},
        {32773, QStyle::SP_FileDialogDetailedView},
        {32790, QStyle::SP_ComputerIcon},
        {32795, QStyle::SP_MediaVolume},
        {32811, QStyle::SP_FileDialogStart},
        {57664, QStyle::SP_MessageBoxInformation},
        {32833, QStyle::SP_MediaSkipBackward},
        {32832, QStyle::SP_MediaSkipForward},
    };
    const auto found = pictures.find(command);
    return found == pictures.end() ? QStyle::SP_CustomBase : found->second;
}

const QString kIdleMessage = QStringLiteral("ﾚﾃﾞｨ");

}  // namespace

MainWindow::MainWindow(Settings& settings, QWidget* parent)
    : QMainWindow(parent), m_settings(settings), m_view(new CutListView(m_list, this)),
      m_loader(m_list, m_cache), m_loading(new LoadingDialog(m_loader, m_list, this)),
      m_bars(new ControlBars(*this)), m_frame(*m_bars, static_cast<FrameView&>(*this)), m_messagePane(new QLabel(kIdleMessage)),
      m_firstRun(settings.Get(setting::kX) == -1)
{
    // The stored place is the frame's: it must be set before the native
    // window exists (which the player window's video makes it do), so that
    // the window manager puts the frame, not the inside, there.
    resize(settings.Get(setting::kCx), settings.Get(setting::kCy));
    if (settings.Get(setting::kX) != -1 && settings.Get(setting::kY) != -1)
        move(settings.Get(setting::kX), settings.Get(setting::kY));
    m_player = new PlayerWindow(settings, this);
    m_playback = std::make_unique<PlaybackSequencer>(m_list, m_player->Engine(), static_cast<PlaybackHost&>(*this));
    m_document = std::make_unique<CutListDocument>(m_list, m_cache, m_player->Engine(), *m_playback, m_loader);
    setCentralWidget(m_view);
    setAcceptDrops(true);
    m_view->RestoreLayout(settings);

    auto showMessage = [this](const QString& text) { m_messagePane->setText(text); };
    connect(m_document.get(), &CutListDocument::summaryChanged, this, showMessage);
    connect(&m_loader, &MediaLoader::statusText, this, showMessage);
    connect(m_bars, &ControlBars::idleMessageWanted, this, [this] { m_messagePane->setText(kIdleMessage); });
    connect(m_document.get(), &CutListDocument::message, this,
            [this](const QString& text, bool failure) { ShowMessage(text, failure ? Icon::Stop : Icon::Exclamation); });
    m_editor = std::make_unique<CutListEditor>(m_list, *m_document, *m_playback);
    connect(m_view, &CutListView::sortRequested, this, &MainWindow::SortBy);
    connect(m_view, &CutListView::contextMenuRequested, this, &MainWindow::ShowListMenu);
    connect(m_view, &CutListView::moveRequested, this, [this](int from, int to) { m_editor->MoveObject(from, to); });
    connect(m_view, &CutListView::deleteRequested, this, [this](int position) { m_editor->DeleteObject(position); });
    connect(m_view, &CutListView::objectClicked, this, [this](int position) { m_playback->PlayNext(position); });
    connect(m_view, &CutListView::spaceClicked, m_document.get(), &CutListDocument::UpdateSummary);
    connect(&m_loader, &MediaLoader::arrangeRequested, m_view, &CutListView::Arrange);
    connect(&m_player->Engine(), &MediaEngine::graphMissing, m_player, [this] {
        QMessageBox::critical(m_player, kApplicationTitle, QStringLiteral("GStreamer is not Installed."));
    });
    connect(m_player, &PlayerWindow::commandRequested, this, [this](int command) { m_commands.Run(command); });
    m_player->SetListQuery([this] { return m_playback->Dispatch(20, 0); });
    connect(&m_positionTimer, &QTimer::timeout, this, [this] { m_playback->OnTimer(); });
    m_positionTimer.start(50);

    BuildCommands();
    BuildBars();
    BuildMenus();
    restoreState(settings.GetBarState());
    if (m_firstRun) {
        m_bars->VolumeBar()->setFloating(true);
        m_bars->SpeedBar()->setFloating(true);
    }
    (new SplashWindow(this))->ShowCentred();
    RegisterFileType(settings);
    // The saved volume takes effect once the window is up.
    QMetaObject::invokeMethod(
        this, [this, volume = settings.Get(setting::kVolumePos)] { m_frame.Dispatch(11, volume); },
        Qt::QueuedConnection);
    m_document->NewDocument();
    UpdateTitle();
}

MainWindow::~MainWindow() = default;

QString MainWindow::Message() const
{
    return m_messagePane->text();
}

void MainWindow::SendToFrame(int code, qintptr value)
{
    m_frame.Dispatch(code, value);
}

qintptr MainWindow::SendToView(int code, qintptr value)
{
    switch (code) {
    case 30:
        m_document->UpdateSummary();
        return 0;
    case 80:
        // The path of a file to add, as if it had been dropped.
        DropPaths({*reinterpret_cast<const QString*>(value)});
        return 0;
    default:
        return m_playback->Dispatch(code, value);
    }
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

void MainWindow::ShowBusy(bool busy)
{
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void MainWindow::ShowMessage(const QString& text, Icon icon)
{
    if (icon == Icon::Stop)
        QMessageBox::critical(this, kApplicationTitle, text);
    else
        QMessageBox::warning(this, kApplicationTitle, text);
}

void MainWindow::SetModified()
{
    m_document->SetModified(true);
}

void MainWindow::BuildCommands()
{
    auto& c = m_commands;
    c.Add(57600, [this] {
        if (MaySaveChanges()) {
            m_document->NewDocument();
            m_path.clear();
            UpdateTitle();
        }
    });
    c.Add(57601, [this] {
        const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), kScenarioFilter, nullptr,
                                                          QFileDialog::HideNameFilterDetails);
        if (!path.isEmpty())
            OpenDocument(path);
    });
    c.Add(32840, [this] { OpenMediaFiles(); });
    c.Add(57603, [this] {
        if (m_path.isEmpty())
            SaveDocumentAs();
        else
            SaveDocument(m_path);
    });
    c.Add(57604, [this] { SaveDocumentAs(); });
    c.Add(57665, [this] { close(); });
    const std::pair<int, ListViewType> modes[] = {
        {32771, kViewLargeIcons}, {32772, kViewSmallIcons}, {32774, kViewList}, {32773, kViewDetails}};
    // The view modes are one choice: radio marks.
    auto* viewModes = new QActionGroup(this);
    for (const auto& [command, type] : modes) {
        c.Add(command, [this, type = type] { m_view->ChangeViewType(type); }, {},
              [this, type = type] { return m_view->ViewType() == type; });
        viewModes->addAction(ActionOf(command));
    }
    // Editing the cut list.
    const auto hasItems = [this] { return m_editor->HasItems(); };
    c.Add(32794, [this] {
        if (!Confirm(QStringLiteral("すべてのオブジェクトを、カットリストから削除しますか？")))
            return;
        OverrideCursor wait(Qt::WaitCursor);
        m_editor->DeleteAll();
    }, hasItems);
    c.Add(32793, [this] {
        if (!Confirm(QStringLiteral("無効なオブジェクトを、カットリストからすべて削除しますか？")))
            return;
        OverrideCursor wait(Qt::WaitCursor);
        m_editor->DeleteInvalid();
    }, [this] { return m_editor->HasInvalidItems(); });
    using Naming = CutListEditor::Naming;
    const std::tuple<int, Naming, const char*> renamings[] = {
        {32815, Naming::FullPath, "すべてのオブジェクトの名前を、メディアのフルパス名に変更しますか？"},
        {32816, Naming::FileName, "すべてのオブジェクトの名前を、ファイル名に変更しますか？"},
        {32836, Naming::Empty, "すべてのオブジェクトの名前を、削除しますか？"}};
    for (const auto& [command, naming, question] : renamings) {
        c.Add(command, [this, naming = naming, question = question] {
            if (Confirm(QString::fromUtf8(question)))
                m_editor->RenameAll(naming);
        }, hasItems);
    }
    // The object menu's commands act on the object last right-clicked.
    c.Add(32819, [this] { m_playback->PlayNext(m_nMenuItem); });
    c.Add(32817, [this] { m_editor->DeleteObject(m_nMenuItem); });
    c.Add(32818, [this] { m_view->EditLabel(m_nMenuItem); });
    c.Add(32838, [this] { m_editor->RenameObject(m_nMenuItem, Naming::FileName); });
    c.Add(32839, [this] { m_editor->RenameObject(m_nMenuItem, Naming::FullPath); });
    c.Add(32828, [this] { ShowObjectProperties(m_nMenuItem, false); },
          [this] { return m_view->SelectedObjectCount() == 1; });

    // Sorting and arrangement.
    const std::pair<int, SortKey> sorts[] = {{32775, SortKey::Name}, {32776, SortKey::MediaTime}, {32812, SortKey::Size},
                                             {32823, SortKey::Type}, {32814, SortKey::Date}};
    for (const auto& [command, key] : sorts)
        c.Add(command, [this, key = key] { SortBy(key); }, hasItems);
    c.Add(32820, [this] {
        OverrideCursor wait(Qt::WaitCursor);
        m_editor->Shuffle(RandomSeedFromClock());
    }, hasItems);
    const auto iconsShown = [this] {
        return (m_view->ViewType() == kViewLargeIcons || m_view->ViewType() == kViewSmallIcons) && m_editor->HasItems();
    };
    c.Add(32822, [this] { m_view->SetAutoArrange(!m_view->IsAutoArrange()); }, iconsShown,
          [this] { return m_view->IsAutoArrange(); });
    c.Add(32777, [this] { m_view->Arrange(); }, iconsShown);
    c.Add(32811, [this] { SearchMedia(this, m_settings, *m_document, *m_editor); });

    c.Add(32779, [this] { m_playback->PlayPause(); }, [this] { return m_playback->CanPlayPause(); });
    c.Add(32780, [this] { m_playback->Pause(); }, [this] { return m_playback->CanPause(); });
    c.Add(32781, [this] { m_playback->Stop(); }, [this] { return m_playback->CanStop(); });
    c.Add(32833, [this] { m_playback->PlayNext(m_list.FindCurrentItem() - 1); },
          [this] { return m_playback->CanPlayPrevious(); });
    c.Add(32832, [this] { m_playback->PlayNext(m_list.FindCurrentItem() + 1); },
          [this] { return m_playback->CanPlayNext(); });
    c.Add(32790, [this] { ShowPlayerWindow(!m_player->isVisible()); },
          [this] { return m_playback->FrameState() != kPlayStateEmpty; }, [this] { return m_player->isVisible(); });
    // The player window's sizes and full screen, while it is shown.
    const auto playerShown = [this] { return m_player->isVisible(); };
    for (const auto& [command, size] : {std::pair{32802, 1}, std::pair{32808, 2}, std::pair{32809, 0}})
        c.Add(command, [this, size = size] { m_player->SetSize(size); }, playerShown);
    c.Add(32799, [this] { m_player->SetFullScreen(true); }, playerShown,
          [this] { return m_player->IsFullScreen(); });
    c.Add(32807, [this] {
        m_player->Engine().m_bStretch = !m_player->Engine().m_bStretch;
        m_player->LayoutVideo();
    }, {}, [this] { return m_player->Engine().m_bStretch; });
    // The player's properties open on the playback page.
    c.Add(32792, [this] { ShowObjectProperties(-1, true); },
          [this] { return m_playback->FrameState() != kPlayStateEmpty; });
    c.Add(32810, [this] { m_player->SaveSnapshot(); },
          [this] { return m_player->Engine().m_nPlayState == kPlayStatePaused; });
    c.Add(32795, [this] { m_frame.ToggleSound(); }, {}, [this] { return !m_frame.IsSoundOff(); });
    // The player's own switches; 32801 is the player's mute, on no menu.
    MediaEngine& engine = m_player->Engine();
    c.Add(32801, [&engine] { engine.SetMute(!engine.m_bMuted); });
    for (const auto& [command, option] : {std::pair{32797, &MediaEngine::m_bAutoRewind},
                                          std::pair{32798, &MediaEngine::m_bRepeat},
                                          std::pair{32837, &MediaEngine::m_bAutoSize}}) {
        c.Add(command, [&engine, option = option] { engine.*option = !(engine.*option); }, {},
              [&engine, option = option] { return engine.*option; });
    }
    c.Add(1065, [this] { m_frame.SetNormalSpeed(); });
    c.Add(57664, [this] { AboutDialog(this).exec(); });
    c.Add(57670, [this] { HelpWindow::Show(this); });
}

QAction* MainWindow::ActionOf(int command)
{
    QAction*& action = m_actions[command];
    if (action)
        return action;
    const QString text = MenuTexts().at(command);
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    action = new QAction(text.left(tab < 0 ? text.size() : tab), this);
    if (tab >= 0)
        action->setShortcut(QKeySequence(text.mid(tab + 1)));
    const CommandText strings = CommandTextOf(command);
    action->setStatusTip(strings.prompt);
    action->setToolTip(strings.toolTip);
    if (ButtonPicture(command) != QStyle::SP_CustomBase)
        action->setIcon(style()->standardIcon(ButtonPicture(command)));
    action->setData(command);
    connect(action, &QAction::triggered, this, [this, command] { m_commands.Run(command); });
    return action;
}

void MainWindow::UpdateActions(const QList<QAction*>& actions)
{
    for (QAction* action : actions) {
        if (action->isSeparator() || !action->data().isValid())
            continue;
        const int command = action->data().toInt();
        const bool checked = m_commands.IsChecked(command);
        action->setEnabled(m_commands.IsEnabled(command));
        // A command of a group of choices keeps its radio mark's place.
        action->setCheckable(checked || action->actionGroup() != nullptr);
        action->setChecked(checked);
    }
}

void MainWindow::Populate(QMenu* menu, const std::vector<int>& commands)
{
    for (int command : commands) {
        if (command == 0)
            menu->addSeparator();
        else
            menu->addAction(ActionOf(command));
    }
    // Enabling and check marks are asked for each time the menu opens.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateActions(menu->actions()); });
}

QToolBar* MainWindow::AddToolBar(const QString& title, const QString& name, const std::vector<int>& commands)
{
    QToolBar* bar = addToolBar(title);
    bar->setObjectName(name);
    bar->setIconSize(QSize(16, 16));
    for (int command : commands) {
        if (command == 0)
            bar->addSeparator();
        else
            bar->addAction(ActionOf(command));
    }
    return bar;
}

void MainWindow::BuildBars()
{
    m_toolBar = AddToolBar(QStringLiteral("Tool Bar"), QStringLiteral("ToolBar"),
                           {57600, 57601, 57603, 0, 32793, 32794, 0, 32771, 32772, 32774, 32773, 0, 32790, 32795, 0,
                            32811, 0, 57664});
    m_naviBar = AddToolBar(QStringLiteral("Navigation Bar"), QStringLiteral("NavigationBar"), {32833, 32832});
    connect(&m_idleTimer, &QTimer::timeout, this, [this] {
        UpdateActions(m_toolBar->actions());
        UpdateActions(m_naviBar->actions());
    });
    m_idleTimer.start(250);

    // The message pane, then the keyboard's lock indicators.
    statusBar()->addWidget(m_messagePane, 1);
    for (const char* indicator : {"ｶﾅ", "CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(QString::fromUtf8(indicator));
        pane->setEnabled(false);
        statusBar()->addPermanentWidget(pane);
    }

    connect(m_bars, &ControlBars::commandRequested, this, [this](int command) { m_commands.Run(command); });
    connect(m_bars, &ControlBars::sliderMoved, this,
            [this](FrameProtocol::Slider slider, int position) { m_frame.OnSliderMoved(slider, position); });

    // The bar switches of the View menu.
    // Files dropped on a bar, floating or not, are dropped on the window.
    for (QWidget* bar : std::initializer_list<QWidget*>{m_toolBar, m_naviBar, m_bars->ControlBar(),
                                                       m_bars->VolumeBar(), m_bars->SpeedBar()}) {
        bar->setAcceptDrops(true);
        bar->installEventFilter(this);
    }

    const std::pair<int, QWidget*> switches[] = {{59392, m_toolBar},
                                                 {59393, statusBar()},
                                                 {32834, m_naviBar},
                                                 {32785, m_bars->ControlBar()},
                                                 {32824, m_bars->VolumeBar()},
                                                 {32825, m_bars->SpeedBar()}};
    for (const auto& [command, bar] : switches) {
        m_commands.Add(command, [bar = bar] { bar->setVisible(!bar->isVisible()); }, {},
                       [bar = bar] { return bar->isVisible(); });
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
        bar->show();
        bar->raise();
    }
}

void MainWindow::AddRecentFileEntries(QMenu* menu, QAction* before)
{
    // Four entries, 57616 onwards; "最新のﾌｧｲﾙ", greyed, while the list is empty.
    QList<QAction*> entries;
    for (int i = 0; i < Settings::kRecentFileCount; ++i) {
        auto* entry = new QAction(menu);
        entry->setStatusTip(CommandTextOf(57616 + i).prompt);
        menu->insertAction(before, entry);
        entries.append(entry);
        connect(entry, &QAction::triggered, this, [this, i] {
            const QString path = m_settings.GetRecentFiles().value(i);
            if (!path.isEmpty())
                OpenDocument(path);
        });
    }
    menu->insertSeparator(before);
    connect(menu, &QMenu::aboutToShow, this, [this, entries] {
        const QStringList files = m_settings.GetRecentFiles();
        for (int i = 0; i < entries.size(); ++i) {
            QAction* entry = entries.at(i);
            entry->setVisible(i < files.size() || i == 0);
            entry->setEnabled(i < files.size());
            entry->setText(i < files.size() ? QStringLiteral("&%1 %2").arg(i + 1).arg(files.at(i))
                                            : QStringLiteral("最新のﾌｧｲﾙ"));
        }
    });
}

void MainWindow::BuildMenus()
{
    const auto addMenu = [this](const QString& title, const std::vector<int>& commands) {
        QMenu* menu = menuBar()->addMenu(title);
        Populate(menu, commands);
        return menu;
    };
    const auto addSubmenu = [this](QMenu* menu, const QString& title, const std::vector<int>& commands) {
        Populate(menu->addMenu(title), commands);
    };
    QMenu* file = addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"), {57600, 57601, 32840, 57603, 57604, 0, 57665});
    AddRecentFileEntries(file, file->actions().last());
    QMenu* edit = addMenu(QStringLiteral("編集(&E)"), {32793, 32794, 0});
    addSubmenu(edit, QStringLiteral("名前の変更(&N)"), {32816, 32815, 32836});
    QMenu* view = addMenu(QStringLiteral("表示(&V)"),
                          {59392, 59393, 32834, 32785, 32824, 32825, 0, 32771, 32772, 32774, 32773, 0});
    addSubmenu(view, QStringLiteral("ｱｲｺﾝの整列(&I)"), {32775, 32776, 32823, 32812, 32814, 32820, 0, 32822});
    Populate(view, {32777});
    QMenu* player = addMenu(QStringLiteral("ﾌﾟﾚｲﾔ(&P)"), {32779, 32781, 0, 32833, 32832, 0, 32790, 32795, 0});
    addSubmenu(player, QStringLiteral("画面ｻｲｽﾞ(&W)"), {32802, 32808, 32809, 0, 32799});
    Populate(player, {0, 32810, 0, 32792});
    addMenu(QStringLiteral("ﾂｰﾙ(&T)"), {32811});
    addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"), {57670, 0, 57664});
}

void MainWindow::SortBy(SortKey key)
{
    OverrideCursor wait(Qt::WaitCursor);
    m_editor->Sort(key);
}

void MainWindow::ShowObjectProperties(int menuItem, bool playbackPage)
{
    ShowProperties({.list = m_list,
                    .cache = m_cache,
                    .engine = m_player->Engine(),
                    .menuItem = menuItem,
                    .bPlayback = playbackPage,
                    .sendToFrame = [this](int code, qintptr value) { return m_frame.Dispatch(code, value); },
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
    m_document->UpdateSummary();
    m_nMenuItem = position;
    QMenu menu(this);
    const auto add = [this](QMenu* to, int command, const QString& text) {
        QAction* action = to->addAction(text);
        action->setStatusTip(CommandTextOf(command).prompt);
        action->setData(command);
        connect(action, &QAction::triggered, this, [this, command] { m_commands.Run(command); });
    };
    if (position >= 0 && m_view->SelectedObjectCount() == 1) {
        add(&menu, 32819, QStringLiteral("再生(&P)"));
        menu.addSeparator();
        add(&menu, 32817, QStringLiteral("削除(&D)"));
        add(&menu, 32818, QStringLiteral("名前の編集(&M)"));
        QMenu* naming = menu.addMenu(QStringLiteral("名前の変更(&N)"));
        add(naming, 32838, QStringLiteral("ﾌｧｲﾙ名(&F)"));
        add(naming, 32839, QStringLiteral("ﾊﾟｽ名(&P)"));
        menu.addSeparator();
        add(&menu, 32828, QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ(&R)"));
    } else {
        for (int command : {32771, 32772, 32774, 32773})
            menu.addAction(ActionOf(command));
        menu.addSeparator();
        QMenu* arrange = menu.addMenu(QStringLiteral("ｱｲｺﾝの整列(&I)"));
        for (const auto& [command, text] : std::initializer_list<std::pair<int, const char*>>{
                 {32775, "名前順(&N)"}, {32776, "ﾒﾃﾞｨｱ時間順(&M)"}, {32823, "種類順(&T)"}, {32812, "ｻｲｽﾞ順(&Z)"},
                 {32814, "日時順(&D)"}, {32820, "ﾗﾝﾀﾞﾑ(&R)"}}) {
            add(arrange, command, QString::fromUtf8(text));
        }
        arrange->addSeparator();
        add(arrange, 32822, ActionOf(32822)->text());
        add(&menu, 32777, ActionOf(32777)->text());
        connect(arrange, &QMenu::aboutToShow, this, [this, arrange] { UpdateActions(arrange->actions()); });
    }
    UpdateActions(menu.actions());
    menu.exec(globalPos);
}

void MainWindow::UpdateTitle()
{
    const QString name = m_path.isEmpty() ? QStringLiteral("無題") : QFileInfo(m_path).fileName();
    setWindowTitle(name + QStringLiteral(" - Kivo"));
}

bool MainWindow::MaySaveChanges()
{
    if (!m_document->IsModified())
        return true;
    const QString name = m_path.isEmpty() ? QStringLiteral("無題") : QFileInfo(m_path).fileName();
    const auto answer = QMessageBox::question(this, kApplicationTitle, QStringLiteral("%1 への変更を保存しますか?").arg(name),
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::Yes) {
        if (m_path.isEmpty()) {
            SaveDocumentAs();
            return !m_document->IsModified();
        }
        return SaveDocument(m_path);
    }
    return true;
}

void MainWindow::AddMedia(const QStringList& paths, std::function<void()> done)
{
    m_document->AddMediaAndCue(paths, std::move(done));
}

void MainWindow::OpenDocument(const QString& path, std::function<void(bool)> done)
{
    if (!MaySaveChanges())
        return;
    m_document->Open(path, [this, path, done](OpenOutcome outcome) {
        const QString fullPath = QFileInfo(path).absoluteFilePath();
        if (TakesFileName(outcome)) {
            m_path = path;
            m_settings.AddRecentFile(fullPath);
        } else {
            // A file that ended early left a new document: saving must not
            // go back to the file that was open before.
            if (outcome == OpenOutcome::Unreadable)
                m_path.clear();
            m_settings.RemoveRecentFile(fullPath);
        }
        UpdateTitle();
        if (done)
            done(TakesFileName(outcome));
    });
}

bool MainWindow::SaveDocument(const QString& path)
{
    if (!m_document->Save(path))
        return false;
    m_path = path;
    m_settings.AddRecentFile(QFileInfo(path).absoluteFilePath());
    UpdateTitle();
    return true;
}

void MainWindow::SaveDocumentAs()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("名前を付けて保存"), m_path, kScenarioFilter, nullptr,
                                                QFileDialog::HideNameFilterDetails);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".kvo");
    SaveDocument(path);
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
        if (url.isLocalFile())
            dropped.append(FileNameOfUrl(url));
    }
    if (DropPaths(dropped))
        event->acceptProposedAction();
}

bool MainWindow::DropPaths(const QStringList& dropped)
{
    // The window comes to the front, whichever program the files came from.
    raise();
    activateWindow();
    const QStringList collected = ExpandDroppedPaths(dropped);
    if (collected.isEmpty()) {
        QMessageBox::information(this, kApplicationTitle, QString::fromUtf16(kNoFilesInFolderMessage));
        return false;
    }
    if (DropOpensScenario(dropped)) {
        m_playback->Stop();
        m_playback->HidePlayer();
        OpenDocument(collected.first());
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
    // Floating bars shown before the window manager knew the main window
    // could not be bound to it; shown again, they are: they stay above it
    // and go with it when it is minimised.
    for (QDockWidget* bar : findChildren<QDockWidget*>()) {
        if (bar->isFloating() && bar->isVisible()) {
            bar->hide();
            bar->show();
        }
    }
    if (std::exchange(m_firstRun, false))
        PlaceFloatingSoundBars();
}

void MainWindow::SavePlacement()
{
    // The normal rectangle by its outer top-left corner, as move() takes it,
    // and its inner size, as resize() takes it.
    const QRect normal = normalGeometry();
    const QPoint corner = normal.topLeft() - (geometry().topLeft() - pos());
    const int showCmd = isMinimized() ? 2 : isMaximized() ? 3 : 1;
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
    if (!MaySaveChanges()) {
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
    m_loader.Cancel();
    m_view->SaveLayout(m_settings);
}

}  // namespace kivo
