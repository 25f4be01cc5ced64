#pragma once

#include "Commands.h"
#include "cutlist/CutListDocument.h"
#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
#include "cutlist/MediaLoader.h"
#include "cutlist/Sorting.h"
#include "player/PlaybackSequencer.h"

#include <QMainWindow>
#include <QTimer>

#include <memory>

class QMenu;

namespace kivo {

class CutListView;
class LoadingDialog;
class PlayerWindow;
class Settings;

// The main window: the cut list, its player window, the menus and the
// status bar. It wires the display-free parts together and shows them.
class MainWindow : public QMainWindow, private PlaybackHost {
    Q_OBJECT

public:
    explicit MainWindow(Settings& settings, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Adds media files to the end of the cut list and cues the first
    // playable object; `done` runs when the run is over.
    void AddMedia(const QStringList& paths, std::function<void()> done = {});
    // Opens a scenario document (after the save question for a modified one).
    void OpenDocument(const QString& path, std::function<void(bool)> done = {});
    bool SaveDocument(const QString& path);

    CutListModel& List() { return m_list; }
    CutListDocument& Document() { return *m_document; }
    const CommandTable& Commands() const { return m_commands; }
    PlayerWindow& Player() { return *m_player; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void SendToFrame(int code, qintptr value) override;
    void ShowPlayerWindow(bool show) override;
    void ShowMessage(const QString& text, Icon icon) override;
    void SetModified() override;

    void BuildCommands();
    void BuildMenus();
    QMenu* AddMenu(const QString& title, const std::vector<int>& commands);
    // The recent-file entries of the File menu, placed before `before`.
    void AddRecentFileEntries(QMenu* menu, QAction* before);
    // The standard question before a modified cut list is replaced; false
    // when the user cancels.
    bool MaySaveChanges();
    void SaveDocumentAs();
    void OpenMediaFiles();
    void UpdateTitle();

    Settings& m_settings;
    CutListModel m_list;
    CMediaInfoCache m_cache;
    CutListView* m_view;
    PlayerWindow* m_player;
    std::unique_ptr<PlaybackSequencer> m_playback;
    MediaLoader m_loader;
    std::unique_ptr<CutListDocument> m_document;
    LoadingDialog* m_loading;
    CommandTable m_commands;
    // One window a run: its sort directions are the program's.
    SortDirections m_sortDirections;
    QTimer m_positionTimer;
    QString m_path;
};

}  // namespace kivo
