#pragma once

#include "cutlist/MediaSearch.h"

#include <QByteArray>
#include <QObject>

#include <deque>
#include <functional>
#include <memory>
#include <thread>

namespace kivo {

class CutListDocument;
class CutListEditor;

// What a media search asks and tells the user; the window does it with
// message boxes.
class MediaSearchQuestions {
public:
    // "カットリストをクリアしますか？": whether to empty the list first.
    virtual bool AskToClearCutList() = 0;
    // "メディアファイルは見つかりませんでした。"
    virtual void TellNothingFound() = 0;

protected:
    ~MediaSearchQuestions() = default;
};

// Command::SearchMedia once the drive and the kinds of media are chosen:
// when the list has objects, the question whether to clear it first; the
// walk of the drive on a worker thread, announced as it goes; "nothing
// found" told; otherwise the files are added through the document, the whole
// list is sorted by name ascending (so the next name sort descends) and its
// first playable object is cued. A cancelled walk adds nothing; a list the
// user agreed to clear stays empty then.
class MediaSearchRun : public QObject {
    Q_OBJECT

public:
    MediaSearchRun(CutListDocument& document, CutListEditor& editor, MediaSearchQuestions& questions,
                   QObject* parent = nullptr);
    // Cancels a walk that is still on.
    ~MediaSearchRun() override;

    // Searches `root` for the chosen kinds of media; `done` runs when the
    // search is over, whichever way. Asked while another search is on, it
    // starts once that one is over.
    void Start(const MediaChoices& choices, const QByteArray& root, std::function<void()> done = {});
    // Ends the walk at once, and the search with it. A walk stuck in a
    // hanging file system is left to end on its own.
    void Cancel();
    bool IsWalking() const { return m_walk != nullptr; }

signals:
    void walkStarted(const QByteArray& root);
    // The folders searched and the files found so far: when the walk
    // starts, at most every 100 ms while it runs, and when it ends.
    void walkProgressed(quint64 folders, quint64 hits);
    // The walk is over, found, cancelled or not; what it found is added
    // after this.
    void walkEnded();

private:
    struct Request {
        MediaChoices choices;
        QByteArray root;
        std::function<void()> done;
    };
    struct Walk;

    void BeginNextRequest();
    void WalkFinished(const QStringList& found);
    // The current request is over: its `done`, then the next one.
    void FinishRequest();

    CutListDocument& m_document;
    CutListEditor& m_editor;
    MediaSearchQuestions& m_questions;
    // The search on now at the front, then the ones asked for meanwhile.
    std::deque<Request> m_requests;
    // Whether the one at the front has begun.
    bool m_active = false;
    std::shared_ptr<Walk> m_walk;
    std::thread m_worker;
};

}  // namespace kivo
