#include "session/DocumentFile.h"

#include "core/Settings.h"
#include "cutlist/FileNames.h"
#include "cutlist/ShownText.h"
#include "cutlist/Playlists.h"
#include "session/CutListDocument.h"

#include <QFileInfo>

namespace kivo {

DocumentFile::DocumentFile(CutListDocument& document, Settings& settings, DocumentQuestions& questions,
                           QObject* parent)
    : QObject(parent), m_document(document), m_settings(settings), m_questions(questions)
{
}

QString DocumentFile::Name() const
{
    return m_path.isEmpty() ? tr("無題") : ShownFileName(m_path);
}

QString DocumentFile::Title() const
{
    return Name() + QStringLiteral(" - Kivo");
}

void DocumentFile::SetPath(const QString& path)
{
    m_path = path;
    emit titleChanged(Title());
}

bool DocumentFile::MaySaveChanges()
{
    // A save that failed leaves the document modified.
    m_document.FinishSaving();
    if (!m_document.IsModified())
        return true;
    switch (m_questions.AskToSaveChanges(tr("%1 への変更を保存しますか?").arg(Name()))) {
    case DocumentQuestions::Answer::Cancel:
        return false;
    case DocumentQuestions::Answer::Yes:
        return Save() && m_document.FinishSaving();
    case DocumentQuestions::Answer::No:
        break;
    }
    return true;
}

void DocumentFile::New()
{
    m_document.NewDocument();
    SetPath({});
}

void DocumentFile::Open(const QString& path, std::function<void(bool)> done)
{
    // The scenario that is open, as it was read or saved: the list and its
    // playback stay as they are.
    if (!m_path.isEmpty() && !m_document.IsModified() && IsSameFile(path, m_path)) {
        m_questions.BringForward();
        if (done)
            done(true);
        return;
    }
    if (!MaySaveChanges())
        return;
    if (IsPlaylistFile(path)) {
        m_document.OpenPlaylist(path, [this, done](bool opened) {
            if (opened)
                SetPath({});
            if (done)
                done(opened);
        });
        return;
    }
    m_document.Open(path, [this, path, done](OpenOutcome outcome) {
        const QString fullPath = QFileInfo(path).absoluteFilePath();
        if (TakesFileName(outcome)) {
            m_settings.AddRecentFile(fullPath);
            SetPath(path);
        } else {
            m_settings.RemoveRecentFile(fullPath);
            // A file that ended early left a new document: saving must not
            // go back to the file that was open before.
            SetPath(outcome == OpenOutcome::Unreadable ? QString() : m_path);
        }
        if (done)
            done(TakesFileName(outcome));
    });
}

bool DocumentFile::Save()
{
    if (m_path.isEmpty())
        return SaveAs();
    SaveTo(m_path);
    return true;
}

bool DocumentFile::SaveAs()
{
    QString path = m_questions.ChooseSavePath(m_path);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".kvo");
    SaveTo(path);
    return true;
}

void DocumentFile::SaveTo(const QString& path)
{
    m_document.Save(path, [this, path](bool saved) {
        if (!saved)
            return;
        m_settings.AddRecentFile(QFileInfo(path).absoluteFilePath());
        SetPath(path);
    });
}

}  // namespace kivo
