#include "ui/PlayerWindow.h"

#include "cutlist/ShownText.h"
#include "media/Bitmap.h"
#include "media/GStreamer.h"
#include "session/PlayerMenu.h"
#include "session/TrackMenus.h"
#include "core/Settings.h"
#include "ui/CommandActions.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <functional>
#include <optional>
#include <utility>

namespace kivo {
namespace {

// How close to its edge a press resizes the window instead of dragging it.
constexpr int kEdgeGrip = 5;

// The context menu, around the subtitle and audio-track menus.
const std::vector<MenuItem>& ContextMenuHead()
{
    using enum Command;
    static const std::vector<MenuItem> items = {PlayPause, Stop, kSeparator, Previous, Next, kSeparator, ShowPlayer, Sound};
    return items;
}

const std::vector<MenuItem>& ContextMenuTail()
{
    using enum Command;
    static const std::vector<MenuItem> items = {
        kSeparator, PlayerSizeMenu(), Snapshot, kSeparator,
        {QT_TRANSLATE_NOOP("Menu", "ｵﾌﾟｼｮﾝ(&O)"), {AutoSize, AutoRewind, Repeat, RepeatList, Stretch}}, PlayerProperties,
    };
    return items;
}

// Adds `trackMenu` to `menu` when it offers a choice; `choose` takes the
// entry chosen.
void AddTrackMenu(QMenu* menu, const TrackMenu& trackMenu, const std::function<void(std::optional<int>)>& choose)
{
    if (!trackMenu.Shown())
        return;
    QMenu* submenu = menu->addMenu(trackMenu.title);
    auto* group = new QActionGroup(submenu);
    for (const TrackMenuEntry& entry : trackMenu.entries) {
        QAction* action = submenu->addAction(entry.text);
        action->setCheckable(true);
        action->setChecked(entry.checked);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, menu, [choose, track = entry.track] { choose(track); });
    }
}

}  // namespace

PlayerWindow::PlayerWindow(Settings& settings, MediaEngine& engine, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint), m_settings(settings), m_engine(engine)
{
    // The video sink draws straight into this window's own native window.
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // No title bar shows it, but task bars and window lists do.
    setWindowTitle(tr("Kivo ﾌﾟﾚｲﾔ"));
    setMouseTracking(true);
    resize(kDefaultClientSize);
    m_engine.SetOptions({.autoRewind = settings.Get(setting::kAutoRewind) != 0,
                         .repeat = settings.Get(setting::kRepeat) != 0,
                         .autoSize = settings.Get(setting::kZoom) != 0});
    // A platform without a screen has no window a video sink could draw
    // into: the picture then goes nowhere.
    const QString platform = QGuiApplication::platformName();
    const bool onScreen = platform != u"offscreen" && platform != u"minimal";
    m_engine.SetWindowHandle(onScreen ? winId() : 0);
    setFocusPolicy(Qt::StrongFocus);
    m_watchdog.setInterval(PlayerInput::kWatchdogMilliseconds);
    connect(&m_watchdog, &QTimer::timeout, this, [this] { m_input.OnWatchdog(); });
    m_releaseWait.setSingleShot(true);
    m_releaseWait.setInterval(PlayerInput::kReleaseWaitMilliseconds);
    connect(&m_releaseWait, &QTimer::timeout, this, [this] { m_input.OnReleaseWaitOver(); });
    // Without a joystick nothing of it happens.
    connect(&m_joystick, &Joystick::buttonsChanged, this, [this](int changed) { m_input.JoystickButtons(changed); });
    connect(&m_joystick, &Joystick::moved, this, [this](int x, int y) { m_input.JoystickMove(x, y); });
    m_joystick.Open();
    connect(&m_engine, &MediaEngine::opened, this, &PlayerWindow::LayoutVideo);
    connect(&m_engine, &MediaEngine::frameCaptured, this, &PlayerWindow::OnFrameCaptured);
    // An open context menu would offer streams that are gone.
    connect(&m_engine, &MediaEngine::tracksChanged, this, [this] {
        if (m_contextMenu)
            m_contextMenu->close();
    });
    connect(&m_engine, &MediaEngine::aboutToPlay, this, [this] {
        if (m_engine.Options().autoSize)
            SetSize(1);
        if (m_engine.Options().fullScreen != IsFullScreen())
            SetFullScreen(m_engine.Options().fullScreen);
    });
}

PlayerWindow::~PlayerWindow()
{
    m_engine.Close();
    m_settings.Set(setting::kAutoRewind, m_engine.Options().autoRewind ? 1 : 0);
    m_settings.Set(setting::kRepeat, m_engine.Options().repeat ? 1 : 0);
    m_settings.Set(setting::kZoom, m_engine.Options().autoSize ? 1 : 0);
}

void PlayerWindow::SetSize(int n)
{
    m_engine.GetSourceRect();
    const SourceRect& source = m_engine.SourceRectangle();
    if (n == -1 || source.width == 0 || source.height == 0) {
        resize(kDefaultClientSize);
        return;
    }
    if (n == 0) {
        // The whole screen, the window frame on its edges.
        const QRect screenArea = screen()->geometry();
        const QSize frameExtra = frameGeometry().size() - size();
        move(screenArea.topLeft());
        resize(screenArea.size() - frameExtra);
        return;
    }
    move(std::max(x(), 0), std::max(y(), 0));
    resize(static_cast<int>(source.width) * n, static_cast<int>(source.height) * n);
}

void PlayerWindow::LayoutVideo()
{
    EdgeRect rect{0, 0, width(), height()};
    if (!m_engine.Options().stretch) {
        m_engine.GetSourceRect();
        // An aspect-kept picture is always centred.
        const SourceRect& source = m_engine.SourceRectangle();
        rect = FitRect(static_cast<int>(source.width), static_cast<int>(source.height), rect, true);
    }
    const qreal scale = devicePixelRatioF();
    const auto device = [scale](int length) { return static_cast<int>(length * scale); };
    m_engine.SetVideoRectangle({device(rect.left), device(rect.top), device(rect.right), device(rect.bottom)});
}

void PlayerWindow::SetFullScreen(bool on)
{
    m_engine.SetOption(&PlayerOptions::fullScreen, on);
    if (on == IsFullScreen())
        return;
    if (on) {
        showFullScreen();
        activateWindow();
    } else {
        showNormal();
    }
}

void PlayerWindow::SaveSnapshot()
{
    // The frame comes from the engine's worker, after what it was asked
    // before.
    m_snapshotAsked = true;
    m_engine.CaptureFrame();
}

void PlayerWindow::OnFrameCaptured(bool captured)
{
    if (!std::exchange(m_snapshotAsked, false) || !captured)
        return;
    QFileDialog dialog(this, tr("名前を付けて保存"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("Bitmap files (*.bmp)"));
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        WriteSnapshot(dialog.selectedFiles().constFirst());
}

bool PlayerWindow::WriteSnapshot(const QString& path)
{
    if (const std::optional<WriteFailure> failure = WriteSnapshotFile(path, m_engine.SnapshotBitmap())) {
        qCWarning(lcEngine).noquote() << "cannot save the snapshot" << path << "-" << failure->detail;
        QMessageBox::critical(this, QStringLiteral("Kivo231"),
                              tr("%1 に保存できませんでした。\n%2").arg(ShownFileName(path), failure->reason));
        return false;
    }
    return true;
}

void PlayerWindow::paintEvent(QPaintEvent*)
{
    // The background around the picture is black.
    QPainter(this).fillRect(rect(), Qt::black);
}

void PlayerWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutVideo();
}

void PlayerWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The native window was made before the main window had one (the video
    // needs it from the start), so it learns its owner now, before the
    // window manager first sees it.
    if (windowHandle() != nullptr && MainWindow() != nullptr && windowHandle()->transientParent() == nullptr)
        windowHandle()->setTransientParent(MainWindow()->windowHandle());
    KeepOnScreen();
}

void PlayerWindow::ShowOnTop()
{
    show();
    raise();
    if (!IsFullScreen())
        TakeFocus();
}

void PlayerWindow::KeepOnScreen()
{
    const QRect frame = frameGeometry();
    for (const QScreen* each : QGuiApplication::screens()) {
        if (each->availableGeometry().intersects(frame))
            return;
    }
    move(QGuiApplication::primaryScreen()->availableGeometry().topLeft());
}

Qt::Edges PlayerWindow::EdgesAt(const QPoint& point) const
{
    Qt::Edges edges;
    if (point.x() < kEdgeGrip)
        edges |= Qt::LeftEdge;
    if (point.x() >= width() - kEdgeGrip)
        edges |= Qt::RightEdge;
    if (point.y() < kEdgeGrip)
        edges |= Qt::TopEdge;
    if (point.y() >= height() - kEdgeGrip)
        edges |= Qt::BottomEdge;
    return edges;
}

void PlayerWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_input.ToggleFullScreen();
}

namespace {

std::optional<PlayerInput::Key> PlayerKey(int key)
{
    switch (key) {
    case Qt::Key_Control:
        return PlayerInput::Key::Control;
    case Qt::Key_Space:
        return PlayerInput::Key::Space;
    case Qt::Key_Left:
        return PlayerInput::Key::Left;
    case Qt::Key_Up:
        return PlayerInput::Key::Up;
    case Qt::Key_Down:
        return PlayerInput::Key::Down;
    case Qt::Key_Right:
        return PlayerInput::Key::Right;
    default:
        return std::nullopt;
    }
}

}  // namespace

void PlayerWindow::keyPressEvent(QKeyEvent* event)
{
    const auto key = PlayerKey(event->key());
    if (!key || !m_input.KeyDown(*key, event->isAutoRepeat()))
        QWidget::keyPressEvent(event);
}

void PlayerWindow::keyReleaseEvent(QKeyEvent* event)
{
    const auto key = PlayerKey(event->key());
    if (!key || !m_input.KeyUp(*key, event->isAutoRepeat()))
        QWidget::keyReleaseEvent(event);
}

void PlayerWindow::closeEvent(QCloseEvent* event)
{
    // The window manager's close (Alt+F4, a window list's "Close") hides the
    // window as the program's own commands do. Taken as a close, it would
    // destroy the native window the video is drawn into. The program's own
    // closing at its end goes through.
    if (!event->spontaneous())
        return;
    event->ignore();
    hide();
}

bool PlayerWindow::event(QEvent* event)
{
    // Should the native window ever be made anew, the video follows it.
    if (event->type() == QEvent::WinIdChange && m_engine.WindowHandle() != 0)
        m_engine.SetWindowHandle(winId());
    return QWidget::event(event);
}

QWidget* PlayerWindow::MainWindow() const
{
    return parentWidget() != nullptr ? parentWidget()->window() : nullptr;
}

bool PlayerWindow::IsMainWindowMinimised() const
{
    return MainWindow() != nullptr && MainWindow()->isMinimized();
}

void PlayerWindow::MinimiseMainWindow()
{
    if (MainWindow() != nullptr)
        MainWindow()->showMinimized();
}

void PlayerWindow::RestoreMainWindow()
{
    QWidget* main = MainWindow();
    if (main == nullptr)
        return;
    // As it was before: a maximised window comes back maximised.
    main->setWindowState(main->windowState() & ~Qt::WindowMinimized);
    main->show();
    main->activateWindow();
}

void PlayerWindow::TakeFocus()
{
    activateWindow();
    setFocus();
}

void PlayerWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || IsFullScreen())
        return;
    const QPoint point = event->position().toPoint();
    if (const Qt::Edges edges = EdgesAt(point); edges != Qt::Edges() && windowHandle() != nullptr &&
                                                 windowHandle()->startSystemResize(edges)) {
        return;
    }
    setCursor(Qt::SizeAllCursor);
    m_bDragging = true;
    m_ptDrag = point;
}

void PlayerWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (IsFullScreen())
        return;
    const QPoint point = event->position().toPoint();
    if (m_bDragging) {
        move(pos() + point - m_ptDrag);
        return;
    }
    // The edges resize, the body drags.
    const Qt::Edges edges = EdgesAt(point);
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    const bool falling = edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge);
    setCursor(horizontal && vertical ? (falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor)
              : horizontal           ? Qt::SizeHorCursor
              : vertical             ? Qt::SizeVerCursor
                                     : Qt::SizeAllCursor);
}

void PlayerWindow::mouseReleaseEvent(QMouseEvent*)
{
    m_bDragging = false;
}

void PlayerWindow::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard the menu opens just inside the client area.
    ShowContextMenu(event->reason() == QContextMenuEvent::Keyboard ? mapToGlobal(QPoint(5, 5)) : event->globalPos());
}

void PlayerWindow::ShowContextMenu(const QPoint& globalPoint)
{
    PlayerMenuFacts facts;
    facts.playState = m_engine.State();
    facts.opening = m_engine.IsOpening();
    facts.list = m_listPosition ? m_listPosition() : ListPosition{};
    facts.fullScreen = IsFullScreen();
    facts.autoRewind = m_engine.Options().autoRewind;
    facts.repeat = m_engine.Options().repeat;
    facts.autoSize = m_engine.Options().autoSize;
    facts.stretch = m_engine.Options().stretch;
    facts.muted = m_engine.IsMuted();
    const std::map<Command, CommandState> states = PlayerMenuStates(facts);

    QMenu menu(this);
    const ActionMaker actionOf = [this, &states](const MenuItem& item, QMenu* to) {
        QAction* action = NewCommandAction(item.command, to, item.ShownText());
        if (const auto found = states.find(item.command); found != states.end()) {
            action->setEnabled(found->second.enabled);
            action->setCheckable(found->second.checked);
            action->setChecked(found->second.checked);
        }
        connect(action, &QAction::triggered, this, [this, command = item.command] { emit commandRequested(command); });
        return action;
    };
    FillMenu(&menu, ContextMenuHead(), actionOf);
    const MediaTracks& tracks = m_engine.Tracks();
    AddTrackMenu(&menu, SubtitleMenu(tracks), [this](std::optional<int> track) { m_engine.ChooseSubtitle(track); });
    AddTrackMenu(&menu, AudioTrackMenu(tracks), [this](std::optional<int> track) {
        if (track)
            m_engine.ChooseAudioTrack(*track);
    });
    FillMenu(&menu, ContextMenuTail(), actionOf);
    m_contextMenu = &menu;
    menu.exec(globalPoint);
}

}  // namespace kivo
