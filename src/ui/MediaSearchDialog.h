#pragma once

#include "cutlist/Drives.h"
#include "cutlist/MediaSearch.h"
#include "session/MediaSearchRun.h"
#include "ui/OverrideCursor.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;

namespace kivo {

class CutListDocument;
class CutListEditor;
class Settings;

// "ﾒﾃﾞｨｱﾌｧｲﾙの検索": the drive and the kinds of media file to search for,
// shown as they were last chosen and stored again on "検索開始". The last
// entry of the drive list, "ﾌｫﾙﾀﾞの選択...", asks for a folder to search
// instead; cancelled, the previous entry stays selected. The check box
// "All files(*.*)" is hidden until the dialog's background is double-
// clicked with Ctrl held, unless it was left switched on.
class CMediaSearchDlg : public QDialog {
    Q_OBJECT

public:
    CMediaSearchDlg(Settings& settings, std::vector<Drive> drives, QWidget* parent = nullptr);

    MediaChoices Choices() const;
    // The mount point of the chosen drive, or the chosen folder; "/" when
    // there is none.
    QByteArray Root() const;

    // Asks for a folder, starting at `start`; empty when cancelled. A file
    // dialog unless set otherwise.
    void SetFolderChooser(std::function<QString(const QString& start)> choose);

    void accept() override;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void FillDriveList();
    void DriveActivated(int index);
    const Drive* SelectedDrive() const;

    Settings& m_settings;
    std::vector<Drive> m_drives;
    QComboBox* m_cbDrive;
    // The entry selected before "ﾌｫﾙﾀﾞの選択...".
    int m_lastDrive = -1;
    std::function<QString(const QString& start)> m_chooseFolder;
    // MIDI, MPEG-1, Video CD, AVI, Windows audio, QuickTime, AIFF, AU, MP3,
    // RealMedia, then today's kinds, top to bottom.
    std::vector<QCheckBox*> m_checks;
    QCheckBox* m_btnAll;
};

// The small modal dialog of a running walk: the folders searched and the
// files found so far, and "ｷｬﾝｾﾙ", which cancels the walk (so do Escape and
// the close box). It closes when the walk ends, whichever way.
class SearchProgressDialog : public QDialog {
    Q_OBJECT

public:
    SearchProgressDialog(MediaSearchRun& run, const QByteArray& root, QWidget* parent = nullptr);

    void reject() override;

private:
    void ShowCounts(quint64 folders, quint64 hits);

    MediaSearchRun& m_run;
    QLabel* m_folders;
    QLabel* m_hits;
    // The user may still click "ｷｬﾝｾﾙ" while the walk runs.
    std::optional<OverrideCursor> m_busy;
};

// The media search's windows: the choice dialog before it, message boxes
// for its questions and the progress dialog while it walks.
class MediaSearchWindows : private MediaSearchQuestions {
public:
    MediaSearchWindows(QWidget* owner, Settings& settings, CutListDocument& document, CutListEditor& editor);

    // Command::SearchMedia: the choice dialog over the system's drives, then
    // the search. `done` runs when the command is over, whichever way.
    void Search(std::function<void()> done = {});
    MediaSearchRun& Run() { return m_run; }

private:
    bool AskToClearCutList() override;
    void TellNothingFound() override;

    QWidget* m_owner;
    Settings& m_settings;
    MediaSearchRun m_run;
};

}  // namespace kivo
