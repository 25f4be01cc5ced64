#include "ui/Flow.h"

#include "cutlist/AddingMedia.h"
#include "session/CommandRules.h"
#include "ui/Application.h"
#include "ui/ControlBars.h"
#include "ui/CutListView.h"
#include "ui/PlayerWindow.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QStandardPaths>

namespace kivo {

Flow::Flow(Settings& settings)
    : m_session(*this), m_window(std::make_unique<MainWindow>(settings, m_session)),
      m_remoteControl(*this, QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/art"))
{
    MainWindow& window = *m_window;
    Session& session = m_session;
    QObject::connect(&session.document, &CutListDocument::summaryChanged, &window, &MainWindow::ShowStatus);
    QObject::connect(&session.loader, &MediaLoader::statusText, &window, &MainWindow::ShowStatus);
    QObject::connect(&session.document, &CutListDocument::message, &window, [&window](const QString& text, bool failure) {
        window.ShowMessage(text, failure ? Icon::Stop : Icon::Exclamation);
    });
    QObject::connect(&session.loader, &MediaLoader::arrangeRequested, &window.ListView(), &CutListView::Arrange);
    QObject::connect(&session.document, &CutListDocument::arrangeRequested, &window.ListView(), &CutListView::Arrange);
    PlayerWindow* player = &window.Player();
    player->SetListQuery([&session] { return session.playback.Position(); });

    FrameProtocol& frame = window.Frame();
    QObject::connect(&session.playback, &PlaybackSequencer::positionChanged, &window,
                     [&frame](int position) { frame.OnPositionChanged(position); });
    QObject::connect(&session.playback, &PlaybackSequencer::lengthChanged, &window,
                     [&frame](int length) { frame.OnLengthChanged(length); });
    QObject::connect(&session.playback, &PlaybackSequencer::playStateChanged, &window,
                     [&frame](PlayState state) { frame.OnPlayStateChanged(state); });
    QObject::connect(&session.playback, &PlaybackSequencer::seeked, &window,
                     [this](int position) { m_remoteControl.AnnounceSeek(position); });
    WatchSession();
    QObject::connect(&window, &MainWindow::managed, &session.engine, &MediaEngine::PrepareGStreamer);
    QMetaObject::invokeMethod(&window, [this] { ServeRemoteControl(); }, Qt::QueuedConnection);
}

Flow::~Flow()
{
    // The window goes before the session.
    Shutdown();
}

void Flow::WatchSession()
{
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(0);
    QObject::connect(&m_refresh, &QTimer::timeout, m_window.get(), [this] {
        m_window->RefreshCommandStates();
        m_remoteControl.Refresh();
    });
    const auto soon = [this] { RefreshSoon(); };
    MainWindow* window = m_window.get();
    const CutListModel* list = &m_session.list;
    QObject::connect(list, &CutListModel::rowsInserted, window, soon);
    QObject::connect(list, &CutListModel::rowsRemoved, window, soon);
    QObject::connect(list, &CutListModel::rowsMoved, window, soon);
    QObject::connect(list, &CutListModel::dataChanged, window, soon);
    QObject::connect(list, &CutListModel::modelReset, window, soon);
    QObject::connect(list, &CutListModel::layoutChanged, window, soon);
    const PlaybackSequencer* playback = &m_session.playback;
    QObject::connect(playback, &PlaybackSequencer::playStateChanged, window, soon);
    QObject::connect(playback, &PlaybackSequencer::lengthChanged, window, soon);
    QObject::connect(playback, &PlaybackSequencer::seeked, window, soon);
    // The transport's rules read the engine's own state too, which a still
    // picture or a key changes without the sequencer.
    QObject::connect(&m_session.engine, &MediaEngine::stateChanged, window, soon);
    QObject::connect(&m_session.engine, &MediaEngine::tagsChanged, window, soon);
    QObject::connect(&m_session.loader, &MediaLoader::finished, window, soon);
    QObject::connect(&m_session.document, &CutListDocument::summaryChanged, window, soon);
    QObject::connect(window, &MainWindow::commandRan, window, soon);
    QObject::connect(&window->Bars(), &ControlBars::sliderMoved, window, soon);
    RefreshSoon();
}

void Flow::ShowBusy(bool busy)
{
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void Flow::ServeRemoteControl()
{
    // Only a bus the desktop has started: D-Bus would otherwise try to
    // launch one of its own.
    if (!SessionHasBus())
        return;
    m_remoteControl.Register(QDBusConnection::sessionBus());
}

MprisFacts Flow::Facts() const
{
    const Session& session = m_session;
    // Gathered once: every state below is worked out from the same facts.
    const CommandFacts commandFacts = m_window->CurrentCommandFacts();
    const auto stateOf = [&commandFacts](Command command) { return CommandStateOf(command, commandFacts); };
    MprisFacts facts;
    facts.state = session.playback.FrameState();
    facts.repeat = stateOf(Command::Repeat).checked;
    facts.repeatList = stateOf(Command::RepeatList).checked;
    facts.shuffled = session.list.IsInRandomOrder();
    facts.speed = m_window->Frame().Speed();
    facts.volume = m_window->Frame().Volume();
    facts.position = static_cast<int>(session.engine.GetPosition() * 100.0);
    if (const int current = session.list.FindCurrentItem(); current >= 0) {
        const int slot = session.list.GetItemData(current);
        facts.track = {slot, session.list.GetItemText(current, CutListModel::kColumnName),
                       session.list.GetItemPath(current), session.list.GetItemFacts(current).length,
                       session.list.GetLargeImage(slot), session.engine.Tags()};
    }
    facts.canNext = stateOf(Command::Next).enabled;
    facts.canPrevious = stateOf(Command::Previous).enabled;
    facts.canPlay = stateOf(Command::PlayPause).enabled;
    facts.canPause = stateOf(Command::Pause).enabled;
    return facts;
}

void Flow::Raise()
{
    MainWindow& window = *m_window;
    if (window.isMinimized())
        window.showNormal();
    window.show();
    window.raise();
    window.activateWindow();
}

void Flow::SeekTo(int hundredths)
{
    FrameProtocol& frame = m_window->Frame();
    frame.OnSliderMoved(FrameProtocol::Slider::Position, hundredths);
    frame.OnPositionSliderReleased();
}

void Flow::OpenNamedFile(const QString& path, std::function<void(bool)> done, ScenarioReadAhead readAhead)
{
    if (IsMediaFileName(path)) {
        OpenFile(path);
        return;
    }
    m_session.document.UseReadAhead(std::move(readAhead));
    m_window->OpenDocument(path, std::move(done));
}

void Flow::OpenFile(const QString& path)
{
    m_session.document.AddMediaAndPlay({path});
}

}  // namespace kivo
