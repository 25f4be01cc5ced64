#include "session/MediaSearchRun.h"

#include "core/WorkerLink.h"
#include "cutlist/Drives.h"
#include "session/CutListDocument.h"
#include "session/CutListEditor.h"

#include <QPointer>

#include <atomic>

namespace kivo {

// What the worker shares with the run. The run cuts the link when the
// walk is cancelled or the run goes, so that a worker left behind reaches
// nothing; the worker keeps it alive until it ends.
struct MediaSearchRun::Walk : WorkerLink<MediaSearchRun> {
    using WorkerLink::WorkerLink;
    void Stop()
    {
        cancel.store(true);
        Cut();
    }
    std::atomic<bool> cancel = false;
};

MediaSearchRun::MediaSearchRun(CutListDocument& document, CutListEditor& editor, MediaSearchQuestions& questions,
                               QObject* parent)
    : QObject(parent), m_document(document), m_editor(editor), m_questions(questions)
{
}

MediaSearchRun::~MediaSearchRun()
{
    if (m_walk) {
        m_walk->Stop();
        m_worker.detach();
    }
}

void MediaSearchRun::Start(const MediaChoices& choices, const QByteArray& root, std::function<void()> done)
{
    m_requests.push_back({choices, root, std::move(done)});
    if (!m_active)
        BeginNextRequest();
}

void MediaSearchRun::BeginNextRequest()
{
    m_active = true;
    // The question waits in an event loop of its own, where another search
    // may be asked for: it waits behind this one.
    if (m_editor.HasItems() && m_questions.AskToClearCutList()) {
        m_editor.DeleteAll();
        m_document.UpdateSummary();
    }
    const Request& request = m_requests.front();
    const bool all = request.choices.all;
    std::vector<std::string> extensions = all ? std::vector<std::string>{} : ExtensionList(request.choices);
    m_walk = std::make_shared<Walk>(*this);
    m_worker = std::thread([walk = m_walk, root = request.root, extensions = std::move(extensions), all] {
        SearchControl control;
        control.cancel = &walk->cancel;
        control.progress = [&walk](const SearchCounts& counts) {
            walk->Post([counts](MediaSearchRun& run) { emit run.walkProgressed(counts.folders, counts.hits); });
        };
        // The mount table is read here too: nothing of another file system
        // is touched, and the walk does not enter it.
        control.skippedFolders = MountPointsBelow(ReadMountTable(), root);
        SearchResult result = SearchFolder(root, extensions, all, control);
        walk->Post([found = std::move(result.paths)](MediaSearchRun& run) { run.WalkFinished(found); });
    });
    emit walkStarted(request.root);
}

void MediaSearchRun::Cancel()
{
    if (!m_walk)
        return;
    m_walk->Stop();
    m_walk.reset();
    m_worker.detach();
    emit walkEnded();
    FinishRequest();
}

void MediaSearchRun::WalkFinished(const QStringList& found)
{
    m_walk.reset();
    m_worker.join();  // it has only to return
    emit walkEnded();
    if (found.isEmpty()) {
        m_questions.TellNothingFound();
        FinishRequest();
        return;
    }
    m_document.AddMediaFiles(found, false, [self = QPointer(this)] {
        if (!self)
            return;
        self->m_editor.SortByNameAscending();
        self->m_document.CueObject(0, 0);
        self->FinishRequest();
    });
}

void MediaSearchRun::FinishRequest()
{
    const std::function<void()> done = std::move(m_requests.front().done);
    m_requests.pop_front();
    m_active = false;
    if (done)
        done();
    // The next search asks its question from the event loop, not from
    // inside the end of this one.
    if (!m_requests.empty())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!m_active && !m_requests.empty())
                    BeginNextRequest();
            },
            Qt::QueuedConnection);
}

}  // namespace kivo
