#pragma once

#include "cutlist/Drives.h"
#include "cutlist/MediaSearch.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QTimer;

namespace kivo {

class CutListDocument;
class Settings;
class CutListEditor;

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
    // RealMedia, top to bottom.
    std::array<QCheckBox*, 10> m_checks{};
    QCheckBox* m_btnAll;
};

// The small modal dialog of a running walk: the folders searched and the
// files found so far, and "ｷｬﾝｾﾙ". The walk runs on a worker thread; the
// dialog closes by itself when it ends. Cancel (also Escape and the close
// box) closes it at once: a walk stuck in a hanging file system is left to
// end on its own.
class SearchProgressDialog : public QDialog {
    Q_OBJECT

public:
    SearchProgressDialog(QByteArray root, std::vector<std::string> extensions, bool allFiles,
                         QWidget* parent = nullptr);
    ~SearchProgressDialog() override;

    // Runs the walk; the files found, or nothing when it was cancelled.
    std::optional<QStringList> Run();

    void reject() override;

private:
    struct Job;

    void Poll();

    QByteArray m_root;
    std::vector<std::string> m_extensions;
    bool m_allFiles;
    std::shared_ptr<Job> m_job;
    QLabel* m_folders;
    QLabel* m_hits;
    QTimer* m_timer;
};

// Command::SearchMedia: builds the cut list from a search of one drive or folder.
// The dialog above; on "検索開始", when the list has objects, the question whether to
// clear it first; the walk; "メディアファイルは見つかりませんでした。" when
// nothing was found; otherwise the files are added through the document (its
// loading dialog can be cancelled), the whole list is sorted by name
// ascending (so the next name sort descends) and its first playable object
// is cued. A cancelled walk adds nothing; a list the user agreed to clear
// stays empty then. `done` runs when the command is over, whichever way.
void SearchMedia(QWidget* owner, Settings& settings, CutListDocument& document, CutListEditor& editor,
                 std::function<void()> done = {});
// The same over the given drives instead of the system's.
void SearchMedia(QWidget* owner, Settings& settings, CutListDocument& document, CutListEditor& editor,
                 const std::vector<Drive>& drives, std::function<void()> done);

}  // namespace kivo
