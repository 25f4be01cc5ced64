#pragma once

#include <QObject>
#include <QString>

#include <functional>

namespace kivo {

class CutListDocument;
class Settings;

// What the document's file asks the user; the window asks it with dialogs.
class DocumentQuestions {
public:
    enum class Answer { Yes, No, Cancel };

    virtual Answer AskToSaveChanges(const QString& question) = 0;
    // The file to save as, the choice starting at `start`; empty when the
    // user cancels.
    virtual QString ChooseSavePath(const QString& start) = 0;
    // The open, unchanged file was asked for again: it comes forward.
    virtual void BringForward() = 0;

protected:
    ~DocumentQuestions() = default;
};

// The file behind the scenario document: its path, the title it gives the
// window, the recent files it keeps, and the question before a modified
// document is replaced.
class DocumentFile : public QObject {
    Q_OBJECT

public:
    DocumentFile(CutListDocument& document, Settings& settings, DocumentQuestions& questions,
                 QObject* parent = nullptr);

    // Empty while the document is untitled.
    const QString& Path() const { return m_path; }
    // "NAME - Kivo"; an untitled document is "無題".
    QString Title() const;

    // Asks whether to save the changes of a modified document first, once
    // the saves under way are written; false when the user cancels or the
    // save fails.
    bool MaySaveChanges();
    // A new, untitled document (without asking).
    void New();
    // Opens a scenario or a playlist as the document, after the save
    // question; the file that is open and unmodified only comes forward.
    // `done` hears whether the file is the document now; it does not run
    // when the user cancels the question.
    void Open(const QString& path, std::function<void(bool)> done = {});
    // Saves to the document's file, or asks for one when it has none; false
    // when the user cancels. The file is written as CutListDocument::Save
    // says; once it is, the document takes the file's name.
    bool Save();
    // Asks for a file and saves to it; a name without an extension takes
    // ".kvo".
    bool SaveAs();
    void SaveTo(const QString& path);

signals:
    void titleChanged(const QString& title);

private:
    QString Name() const;
    void SetPath(const QString& path);

    CutListDocument& m_document;
    Settings& m_settings;
    DocumentQuestions& m_questions;
    QString m_path;
};

}  // namespace kivo
