#include "ui/Flow.h"

#include "ui/CutListView.h"
#include "ui/PlayerWindow.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace kivo {

Flow::Flow(Settings& settings) : m_session(*this), m_window(std::make_unique<MainWindow>(settings, m_session))
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
    QObject::connect(&session.engine, &MediaEngine::graphMissing, player, [player] {
        QMessageBox::critical(player, QStringLiteral("Kivo231"), QStringLiteral("GStreamer is not Installed."));
    });
    player->SetListQuery([&session] { return session.playback.Position(); });

    FrameProtocol& frame = window.Frame();
    QObject::connect(&session.playback, &PlaybackSequencer::positionChanged, &window,
                     [&frame](int position) { frame.OnPositionChanged(position); });
    QObject::connect(&session.playback, &PlaybackSequencer::lengthChanged, &window,
                     [&frame](int length) { frame.OnLengthChanged(length); });
    QObject::connect(&session.playback, &PlaybackSequencer::playStateChanged, &window,
                     [&frame](PlayState state) { frame.OnPlayStateChanged(state); });
    QObject::connect(&m_positionTimer, &QTimer::timeout, &session.playback, &PlaybackSequencer::OnTimer);
    m_positionTimer.start(50);
}

Flow::~Flow() = default;

void Flow::ShowBusy(bool busy)
{
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

}  // namespace kivo
