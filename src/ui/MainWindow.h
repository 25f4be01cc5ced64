#pragma once

#include "core/Commands.h"
#include "cutlist/Sorting.h"
#include "session/DocumentFile.h"
#include "session/FrameProtocol.h"
#include "session/Session.h"
#include "ui/LockIndicators.h"
#include "ui/MediaSearchDialog.h"

#include <QMainWindow>
#include <QTimer>

#include <map>
#include <memory>
#include <vector>

class QLabel;
class QMenu;
class QToolBar;

namespace kivo {

class ControlBars;
struct CommandFacts;
struct CommandState;
class CutListView;
struct MenuItem;
class LoadingDialog;
class PlayerWindow;
class Settings;

// The main window: the cut list, its player window, the menus, the tool
// bars, the control, volume and speed bars and the status bar. It shows the
// session and passes the user's commands on to it.
class MainWindow : public QMainWindow, private DocumentQuestions {
    Q_OBJECT

public:
    MainWindow(Settings& settings, Session& session, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Adds media files to the end of the cut list and cues the first
    // playable object; `done` runs when the run is over.
    void AddMedia(const QStringList& paths, std::function<void()> done = {});
    // Opens a scenario document (after the save question for a modified one);
    // the scenario open and unmodified only comes forward.
    void OpenDocument(const QString& path, std::function<void(bool)> done = {});
    // Opens a scenario or a playlist that was dropped or sent: the playback
    // stops first.
    void OpenSentDocument(const QString& path);
    // Saves the document to `path` as the Save command does: in the background.
    void SaveDocument(const QString& path);
    // Ends the program as a close does, without asking about changes: for a
    // session that ends or a quit signal.
    void CloseQuietly();

    CutListModel& List() { return m_session.list; }
    CutListDocument& Document() { return m_session.document; }
    MediaLoader& Loader() { return m_session.loader; }
    CutListView& ListView() { return *m_view; }
    const CommandTable& Commands() const { return m_commands; }
    // What the command rules read, the widgets' facts included.
    CommandFacts CurrentCommandFacts();
    PlayerWindow& Player() { return *m_player; }
    // The main window's end of the protocol with the list.
    FrameProtocol& Frame() { return m_frame; }
    ControlBars& Bars() { return *m_bars; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QToolBar* NavigationBar() const { return m_naviBar; }
    // The status bar's message pane.
    QString Message() const;
    void ShowStatus(const QString& text);
    // The player window comes up, at first at the list's top left corner,
    // or goes.
    void ShowPlayerWindow(bool show);
    void ShowMessage(const QString& text, PlaybackHost::Icon icon);
    // The tool bars' buttons take the command table's enabling and check
    // marks: after each change of what they depend on, not by a clock.
    void RefreshCommandStates();

signals:
    // A command was carried out.
    void commandRan();
    // The window manager has taken the window in, and it is drawn.
    void managed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
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
    // Adds a command whose enabling and check mark follow the command rules.
    std::function<void(Command, CommandTable::Action)> Adder();
    // The bar switches of the View menu, with their bars.
    std::vector<std::pair<Command, QWidget*>> BarSwitches();
    CommandState StateOf(Command command);
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
    // Asks the command rules for the enabling and check mark of actions.
    void UpdateActions(const QList<QAction*>& actions);
    // On the first run the volume and speed bars float near the top right
    // corner of the list: moves them there, shown or not.
    void PlaceFloatingSoundBars();
    // The status bar's lock panes follow the keyboard.
    void ShowLocks();
    // Once the window manager has taken the main window in.
    void OnWindowManaged();
    // Shows the floating bars held back until then; a first run's are
    // placed first.
    void ShowHeldBars();
    // A bar is shown when it is on the screen or held until the window
    // manager has the main window.
    bool IsBarShown(const QWidget* bar) const;
    void ShowBar(QWidget* bar, bool shown);
    void SavePlacement();
    // What every end of the program keeps: the list's layout; a loading run
    // stops.
    void EndRun();
    // The recent-file entries of the File menu name the files of the list.
    void NameRecentFiles(QMenu* file);
    Answer AskToSaveChanges(const QString& question) override;
    QString ChooseSavePath(const QString& start) override;
    void BringForward() override;
    void ExportPlaylist();
    void OpenMediaFiles();
    // Adds dropped files and folders, or opens a dropped scenario; false
    // when the drop held no file.
    bool DropPaths(const QStringList& dropped);

    Settings& m_settings;
    Session& m_session;
    CutListView* m_view;
    PlayerWindow* m_player = nullptr;
    LoadingDialog* m_loading;
    ControlBars* m_bars;
    FrameProtocol m_frame;
    DocumentFile m_file;
    MediaSearchWindows m_search;
    QToolBar* m_toolBar = nullptr;
    QToolBar* m_naviBar = nullptr;
    QLabel* m_messagePane;
    CommandTable m_commands;
    std::map<std::pair<Command, QString>, QAction*> m_actions;
    LockIndicators m_locks;
    std::array<QLabel*, 4> m_lockPanes{};
    bool m_firstRun;
    // The object under the pointer at the last right click on the list.
    int m_nMenuItem = -1;
    // Whether the player window has been shown once, at its first place.
    bool m_playerPlaced = false;
    // Whether the window manager has taken the main window in.
    bool m_managed = false;
    // Floating bars to show once it has.
    std::vector<QDockWidget*> m_heldBars;
};

}  // namespace kivo
