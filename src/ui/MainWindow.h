#pragma once

#include "core/Commands.h"
#include "session/FrameProtocol.h"
#include "session/CutListDocument.h"
#include "session/CutListEditor.h"
#include "cutlist/CutListModel.h"
#include "cutlist/MediaInfoCache.h"
#include "session/MediaLoader.h"
#include "cutlist/Sorting.h"
#include "session/PlaybackSequencer.h"

#include <QMainWindow>
#include <QTimer>

#include <map>
#include <memory>

class QLabel;
class QMenu;
class QToolBar;

namespace kivo {

class ControlBars;
class CutListView;
struct MenuItem;
class LoadingDialog;
class PlayerWindow;
class Settings;

// The main window: the cut list, its player window, the menus, the tool
// bars, the control, volume and speed bars and the status bar. It wires the
// display-free parts together and shows them.
class MainWindow : public QMainWindow, private PlaybackHost, private FrameView {
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
    // Ends the program as a close does, without asking about changes: for a
    // session that ends or a quit signal.
    void CloseQuietly();

    CutListModel& List() { return m_list; }
    CutListDocument& Document() { return *m_document; }
    MediaLoader& Loader() { return m_loader; }
    const CommandTable& Commands() const { return m_commands; }
    PlayerWindow& Player() { return *m_player; }
    // The main window's end of the protocol with the list.
    FrameProtocol& Frame() { return m_frame; }
    ControlBars& Bars() { return *m_bars; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QToolBar* NavigationBar() const { return m_naviBar; }
    // The status bar's message pane.
    QString Message() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void ShowPlayerWindow(bool show) override;
    void ShowMessage(const QString& text, Icon icon) override;
    void SetModified() override;
    void ShowBusy(bool busy) override;
    void Seek(int position) override { m_playback->Seek(position); }
    void FinishSeeking() override { m_playback->FinishSeeking(); }
    void SetBalance(int balance) override { m_playback->SetBalance(balance); }
    void SetVolume(int volume) override { m_playback->SetVolume(volume); }
    void SetMute(bool on) override { m_playback->SetMute(on); }
    int SetRate(int speed) override { return m_playback->SetRate(speed); }
    void ShowSummary() override { m_document->UpdateSummary(); }

    // The commands of each part of the menus, bars and keys.
    void BuildCommands();
    void AddFileCommands();
    void AddEditingCommands();
    void AddObjectCommands();
    void AddViewCommands();
    void AddArrangementCommands();
    void AddPlayerCommands();
    void AddPlayerOptionCommands();
    void AddBarCommands();
    void AddHelpCommands();
    void BuildBars();
    void BuildMenus();
    // The list's right-click menus: the object menu, or the view menu over
    // empty space.
    void ShowListMenu(int position, const QPoint& globalPos);
    // The sort commands and the column-header clicks.
    void SortBy(SortKey key);
    // The property sheet of the object at `menuItem` (-1: the current one).
    void ShowObjectProperties(int menuItem, bool playbackPage);
    // Asks a yes/no question; true for yes.
    bool Confirm(const QString& question);
    // The action of a command, shared by its menu items and tool bar
    // button; one for each text a menu gives it (empty: its menu text).
    QAction* ActionOf(Command command, const QString& text = {});
    // Fills a menu with commands and submenus whose enabling and check
    // marks follow the command table.
    void Populate(QMenu* menu, const std::vector<MenuItem>& items);
    QToolBar* AddToolBar(const QString& title, const QString& name, const std::vector<Command>& commands);
    // Asks the command table for the enabling and check mark of actions.
    void UpdateActions(const QList<QAction*>& actions);
    // On the first run the volume and speed bars float near the top right
    // corner of the list.
    void PlaceFloatingSoundBars();
    // Once the window manager has taken the main window in.
    void OnWindowManaged();
    void SavePlacement();
    // What every end of the program keeps: the list's layout; a loading run
    // stops.
    void EndRun();
    // The recent-file entries of the File menu name the files of the list.
    void NameRecentFiles(QMenu* file);
    // The standard question before a modified cut list is replaced; false
    // when the user cancels.
    bool MaySaveChanges();
    void SaveDocumentAs();
    void OpenMediaFiles();
    // Adds dropped files and folders, or opens a dropped scenario; false
    // when the drop held no file.
    bool DropPaths(const QStringList& dropped);
    void UpdateTitle();

    Settings& m_settings;
    CutListModel m_list;
    CMediaInfoCache m_cache;
    CutListView* m_view;
    PlayerWindow* m_player = nullptr;
    std::unique_ptr<PlaybackSequencer> m_playback;
    MediaLoader m_loader;
    std::unique_ptr<CutListDocument> m_document;
    LoadingDialog* m_loading;
    ControlBars* m_bars;
    FrameProtocol m_frame;
    QToolBar* m_toolBar = nullptr;
    QToolBar* m_naviBar = nullptr;
    QLabel* m_messagePane;
    CommandTable m_commands;
    std::map<std::pair<Command, QString>, QAction*> m_actions;
    // Tool bar buttons follow their commands' enabling on this timer.
    QTimer m_idleTimer;
    bool m_firstRun;
    // One window a run: its editor's sort directions are the program's.
    std::unique_ptr<CutListEditor> m_editor;
    // The object under the pointer at the last right click on the list.
    int m_nMenuItem = -1;
    QTimer m_positionTimer;
    QString m_path;
    // Whether the player window has been shown once, at its first place.
    bool m_playerPlaced = false;
    // Whether the window manager has taken the main window in.
    bool m_managed = false;
};

}  // namespace kivo
