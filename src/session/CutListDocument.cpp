#include "session/CutListDocument.h"

#include "cutlist/CutListModel.h"
#include "cutlist/FileNames.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/Playlists.h"
#include "session/MediaLoader.h"
#include "cutlist/ScenarioFile.h"
#include "cutlist/ShownText.h"
#include "cutlist/StatusText.h"
#include "media/Examination.h"
#include "media/MediaEngine.h"
#include "session/PlaybackSequencer.h"

#include <QCoreApplication>
#include <QtConcurrent/QtConcurrentRun>

#include <memory>
#include <optional>
#include <vector>

namespace kivo {

CutListDocument::CutListDocument(CutListModel& list, CMediaInfoCache& cache, MediaEngine& player,
                                 PlaybackSequencer& playback, MediaLoader& loader, QObject* parent)
    : QObject(parent), m_list(list), m_cache(cache), m_player(player), m_playback(playback), m_loader(loader)
{
    m_loader.SetPlayerPreparation([this](const QString& path) { return PreparePlayer(path); });
    m_writer.setMaxThreadCount(1);
}

void CutListDocument::SetModified(bool modified)
{
    m_modified = modified;
    if (modified)
        ++m_changes;
}

bool CutListDocument::PreparePlayer(const QString& path)
{
    // While media is examined the list's player is out of sight and shows a
    // still picture: the video it holds, or else the first examined file
    // that opens. Opening every sound-only file there again would only
    // double the examination.
    m_playback.HidePlayer();
    if (m_stillCandidates.isEmpty() && m_player.State() != PlayState::Empty && m_player.HasVideo()) {
        m_player.PausePlayback();
        return true;
    }
    // The files are tried in their order, one at a time, while the
    // examination goes on.
    if (!StillSearchOpens())
        m_stillCandidates.clear();
    m_stillCandidates.append(path);
    if (m_stillCandidates.size() == 1)
        OpenStillCandidate();
    return false;
}

bool CutListDocument::StillSearchOpens() const
{
    return !m_stillCandidates.isEmpty() && m_playback.AwaitsOpening();
}

void CutListDocument::OpenStillCandidate()
{
    m_player.Open(m_stillCandidates.constFirst());
    m_playback.AwaitOpening([this] {
        // Without GStreamer no other file opens either.
        if (m_player.RenderOutcome() == RenderResult::NoGStreamer) {
            m_stillCandidates.clear();
            m_loader.SetPlayerPrepared();
            return;
        }
        if (m_player.State() == PlayState::Empty) {
            // The search may have ended meanwhile: then no other candidate
            // is tried.
            if (!m_stillCandidates.isEmpty())
                m_stillCandidates.removeFirst();
            if (!m_stillCandidates.isEmpty())
                OpenStillCandidate();
            return;
        }
        m_stillCandidates.clear();
        m_loader.SetPlayerPrepared();
        if (m_player.HasVideo())
            m_player.PausePlayback();
        m_playback.SendDuration();
    });
}

void CutListDocument::UpdateSummary()
{
    emit summaryChanged(CutListSummaryText(m_list, m_cache, m_playback.CurrentPosition()));
}

bool CutListDocument::CueObject(int position, qint64 hundredths)
{
    return m_playback.CueObject(position, hundredths);
}

void CutListDocument::ClearCutList()
{
    if (m_list.GetItemCount() > 0)
        m_playback.ResetPlayback();
    m_list.Clear();
}

void CutListDocument::NewDocument()
{
    ClearCutList();
    // Clearing stops playback, which would mark the document modified; an
    // empty new cut list has nothing to save.
    m_modified = false;
    UpdateSummary();
}

bool CutListDocument::MustWait() const
{
    return !m_takingRequest && (m_loader.IsRunning() || !m_waitingRequests.empty());
}

void CutListDocument::WhenLoaderIdle(std::function<void()> request)
{
    if (MustWait())
        m_waitingRequests.push_back(std::move(request));
    else
        request();
}

void CutListDocument::TakeWaitingRequest()
{
    // A request that does not start the loader lets the next one go at once.
    while (!m_waitingRequests.empty() && !m_loader.IsRunning()) {
        const std::function<void()> request = m_waitingRequests.front();
        m_waitingRequests.erase(m_waitingRequests.begin());
        m_takingRequest = true;
        request();
        m_takingRequest = false;
    }
}

void CutListDocument::AddMediaFiles(const QStringList& paths, bool blankLabels, std::function<void()> done)
{
    if (paths.isEmpty()) {
        if (done)
            done();
        return;
    }
    if (MustWait()) {
        m_waitingRequests.push_back([this, paths, blankLabels, done] { AddMediaFiles(paths, blankLabels, done); });
        return;
    }
    // Files that the cache knows unchanged need no examination: the run of
    // them at the start goes into the list at once, in one insertion, and
    // the loader takes the rest from the first file it has to examine.
    const bool intoEmptyList = m_list.GetItemCount() == 0;
    const std::vector<MediaObject> known = m_loader.KnownLeadingObjects(paths);
    m_list.AddObjects(known, blankLabels);
    const auto finish = [this, done, arrange = intoEmptyList && !known.empty()] {
        // The search for a still picture ends with the run, unless the
        // player still opens one of its files: then the files the run named
        // are tried to the end, however the machine's load ordered the two.
        // An object asked for meanwhile takes the player, and ends it.
        if (!StillSearchOpens())
            m_stillCandidates.clear();
        m_playback.SendDuration();
        if (m_list.GetCurrent() == -1) {
            const int first = m_list.FindPlayable(0);
            if (first >= 0)
                m_list.SetCurrent(m_list.GetItemData(first));
        }
        // The loader asks for this only when it filled the whole list.
        if (arrange)
            emit arrangeRequested();
        UpdateSummary();
        if (done)
            done();
    };
    if (known.size() == static_cast<size_t>(paths.size())) {
        finish();
        return;
    }
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(&m_loader, &MediaLoader::finished, this, [this, connection, finish](bool) {
        disconnect(*connection);
        finish();
        // What waited for this run goes on once the run's end has been told
        // to everyone.
        QMetaObject::invokeMethod(this, &CutListDocument::TakeWaitingRequest, Qt::QueuedConnection);
    });
    m_loader.Start(paths.mid(static_cast<qsizetype>(known.size())), blankLabels);
}

void CutListDocument::AddMediaAndCue(const QStringList& paths, std::function<void()> done)
{
    if (paths.isEmpty()) {
        if (done)
            done();
        return;
    }
    m_playback.Stop();
    m_playback.HidePlayer();
    AddMediaFiles(paths, false, [this, done] {
        m_playback.CueObject(0, 0);
        SetModified(true);
        if (done)
            done();
    });
}

void CutListDocument::AddMediaAndPlay(const QStringList& paths)
{
    // The objects' place is known once the files before them are in.
    WhenLoaderIdle([this, paths] {
        const int first = m_list.GetItemCount();
        AddMediaAndCue(paths, [this, first] {
            if (m_list.FindPlayable(first) >= 0)
                m_playback.PlayNext(first);
        });
    });
}

void CutListDocument::Open(const QString& path, std::function<void(OpenOutcome)> done)
{
    const auto finish = [done](OpenOutcome outcome) {
        if (done)
            done(outcome);
    };
    // A scenario that opens cues an object: the player readies GStreamer and
    // its decoders on its worker while the file is read here (or its read
    // ahead ends), rather than after it (the program started with the
    // scenario has not even shown its window yet).
    m_player.PrepareDecoders();
    std::optional<ScenarioReadResult> readAhead = m_readAhead.Take(path);
    ScenarioReadResult result = readAhead ? std::move(*readAhead) : ReadScenarioFile(path);
    const QString name = ShownFileName(path);
    if (result.status != ScenarioStatus::Ok && result.status != ScenarioStatus::Empty)
        qCWarning(lcScenario).noquote() << "cannot read" << path << "-" << result.detail;
    switch (result.status) {
    case ScenarioStatus::Ok:
        break;
    case ScenarioStatus::Empty:
        // Nothing to read: the document only takes the file's name.
        m_modified = false;
        finish(OpenOutcome::NamedOnly);
        return;
    case ScenarioStatus::UnknownMagic:
        emit message(QCoreApplication::translate("Files", kUnreadableScenarioMessage), true);
        finish(OpenOutcome::Refused);
        return;
    case ScenarioStatus::CannotOpen:
        emit message(tr("%1 を開けませんでした。\n%2").arg(name, result.problem), true);
        finish(OpenOutcome::Refused);
        return;
    case ScenarioStatus::Malformed:
    case ScenarioStatus::TooLarge:
        // Refused before anything was touched: the cut list stays.
        emit message(tr("%1 を読み込めませんでした。\n%2").arg(name, result.problem), true);
        finish(OpenOutcome::Refused);
        return;
    case ScenarioStatus::EndsEarly:
        emit message(tr("%1 を読み込めませんでした。\n%2").arg(name, result.problem), true);
        NewDocument();
        finish(OpenOutcome::Unreadable);
        return;
    }
    // Shared with the end of the run rather than copied: a scenario can be
    // large.
    const auto scenario = std::make_shared<const Scenario>(std::move(result.scenario));
    ClearCutList();
    AddScenarioCacheEntries(*scenario, m_cache);
    AddMediaFiles(scenario->paths, scenario->version >= 30, [this, scenario, finish] {
        // A cancelled run leaves fewer objects than names.
        m_list.SetItemNames(scenario->names);
        if (scenario->paths.isEmpty() || !m_playback.CueObject(scenario->current, scenario->position))
            UpdateSummary();
        m_modified = false;
        finish(OpenOutcome::Opened);
    });
}

void CutListDocument::OpenPlaylist(const QString& path, std::function<void(bool)> done)
{
    PlaylistReadResult result = ReadPlaylistFile(path);
    if (result.status != PlaylistStatus::Ok) {
        qCWarning(lcPlaylist).noquote() << "cannot read" << path << "-" << result.detail;
        emit message(tr("%1 を開けませんでした。\n%2").arg(ShownFileName(path), result.problem), true);
        if (done)
            done(false);
        return;
    }
    LeaveOutMissingFiles(result.reading);
    NewDocument();
    QStringList paths;
    // Each entry's title, or the name its object has anyway: its path.
    QStringList names;
    for (const PlaylistEntry& entry : result.reading.entries) {
        paths.append(entry.path);
        names.append(entry.title.isEmpty() ? entry.path : entry.title);
    }
    const int skipped = result.reading.skipped;
    AddMediaAndCue(paths, [this, names, skipped, done] {
        // A cancelled run leaves fewer objects than entries, and so names.
        m_list.SetItemNames(names);
        if (skipped > 0)
            emit message(tr("ローカルファイルでないか、存在しない %1 個の項目は読み込みませんでした。").arg(skipped),
                         false);
        if (done)
            done(true);
    });
}

bool CutListDocument::ExportPlaylist(const QString& path)
{
    std::vector<PlaylistEntry> entries;
    for (int position = 0; position < m_list.GetItemCount(); ++position) {
        const ObjectFacts& facts = m_list.GetItemFacts(position);
        entries.push_back(EntryOfObject(m_list.GetItemPath(position), m_list.GetItemName(position),
                                        facts.invalid ? 0 : facts.length));
    }
    if (const std::optional<WriteFailure> failure = WritePlaylistFile(path, entries)) {
        qCWarning(lcPlaylist).noquote() << "cannot export" << path << "-" << failure->detail;
        emit message(tr("%1 に書き込めませんでした。\n%2").arg(ShownFileName(path), failure->reason), true);
        return false;
    }
    return true;
}

void CutListDocument::Save(const QString& path, std::function<void(bool)> done)
{
    // A cued object still opening is saved where it goes.
    Scenario scenario = ScenarioOfCutList(m_list, m_cache, m_playback.CurrentPosition());
    QFuture<std::optional<WriteFailure>> written =
        QtConcurrent::run(&m_writer, [path, scenario = std::move(scenario)] { return SaveScenarioFile(path, scenario); });
    m_saves.push_back({path, written, m_changes, std::move(done)});
    // Settled from the event loop, or by whoever waits first. A write that
    // has ended already (a refusal can be that quick) would run the
    // continuation here and now: settled before the wait, its failure would
    // not reach the wait, which would say that all was written.
    written.then(this, [this](const std::optional<WriteFailure>&) {
        QMetaObject::invokeMethod(this, [this] { SettleSaves(false); }, Qt::QueuedConnection);
    });
}

bool CutListDocument::FinishSaving()
{
    return SettleSaves(true);
}

bool CutListDocument::SettleSaves(bool waitForAll)
{
    bool allWritten = true;
    while (!m_saves.empty() && (waitForAll || m_saves.front().written.isFinished())) {
        PendingSave save = std::move(m_saves.front());
        m_saves.pop_front();
        save.written.waitForFinished();
        allWritten = Settle(save) && allWritten;
    }
    return allWritten;
}

bool CutListDocument::Settle(const PendingSave& save)
{
    const std::optional<WriteFailure> failure = save.written.result();
    if (failure) {
        qCWarning(lcScenario).noquote() << "cannot save" << save.path << "-" << failure->detail;
        emit message(tr("%1 に保存できませんでした。\n%2").arg(ShownFileName(save.path), failure->reason), true);
    } else if (save.changes == m_changes) {
        m_modified = false;
    }
    if (save.done)
        save.done(!failure);
    return !failure;
}

}  // namespace kivo
