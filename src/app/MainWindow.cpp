#include "MainWindow.h"

#include "Settings.h"
#include "cutlist/AddingMedia.h"
#include "cutlist/CutListView.h"
#include "cutlist/LoadingDialog.h"
#include "cutlist/Sorting.h"
#include "player/PlayerWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>

namespace kivo {
namespace {

const QString kApplicationTitle = QStringLiteral("Kivo231");
const QString kScenarioFilter = QStringLiteral("Kivo scenario file(*.kvo) (*.kvo)");

// The menu texts of the commands the main window offers.
const std::map<int, QString>& MenuTexts()
{
    static const std::map<int, QString> texts = {
        {57600, QStringLiteral("新規作成(&N)\tCtrl+N")},  {57601, QStringLiteral("開く(&O)...\tCtrl+O")},
        {32840, QStringLiteral("ﾒﾃﾞｨｱﾌｧｲﾙを開く(&I)...")}, {57603, QStringLiteral("上書き保存(&S)\tCtrl+S")},
        {57604, QStringLiteral("名前を付けて保存(&A)...")}, {57665, QStringLiteral("終了(&X)")},
        {32771, QStringLiteral("大きいｱｲｺﾝ(&G)")},        {32772, QStringLiteral("小さいｱｲｺﾝ(&M)")},
        {32774, QStringLiteral("一覧(&L)")},              {32773, QStringLiteral("詳細(&D)")},
        {32779, QStringLiteral("再生/一時停止(&P)")},     {32781, QStringLiteral("停止(&S)")},
        {32833, QStringLiteral("前に戻る(&B)")},          {32832, QStringLiteral("次に進む(&F)")},
        {32790, QStringLiteral("画面(&V)")},              {57664, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(Kivo) (&A)...")},
    };
    return texts;
}

}  // namespace

MainWindow::MainWindow(Settings& settings, QWidget* parent)
    : QMainWindow(parent), m_settings(settings), m_view(new CutListView(m_list, this)),
      m_player(new PlayerWindow(settings, this)), m_loader(m_list, m_cache), m_loading(new LoadingDialog(m_loader, m_list, this))
{
    m_playback = std::make_unique<PlaybackSequencer>(m_list, m_player->Engine(), static_cast<PlaybackHost&>(*this));
    m_document = std::make_unique<CutListDocument>(m_list, m_cache, m_player->Engine(), *m_playback, m_loader);
    setCentralWidget(m_view);
    setAcceptDrops(true);
    resize(settings.Get(setting::kCx), settings.Get(setting::kCy));
    if (settings.Get(setting::kX) != -1 && settings.Get(setting::kY) != -1)
        move(settings.Get(setting::kX), settings.Get(setting::kY));
    m_view->RestoreLayout(settings);

    connect(m_document.get(), &CutListDocument::summaryChanged, statusBar(), [this](const QString& text) {
        statusBar()->showMessage(text);
    });
    connect(m_document.get(), &CutListDocument::message, this,
            [this](const QString& text, bool failure) { ShowMessage(text, failure ? Icon::Stop : Icon::Exclamation); });
    connect(&m_loader, &MediaLoader::statusText, statusBar(), [this](const QString& text) {
        statusBar()->showMessage(text);
    });
    connect(m_view, &CutListView::sortRequested, this, [this](SortKey key) {
        SetModified();
        SortCutList(m_list, key, m_sortDirections.IsDescending(key));
        m_sortDirections.Toggle(key);
    });
    connect(m_view, &CutListView::objectClicked, this, [this](int position) { m_playback->PlayNext(position); });
    connect(&m_player->Engine(), &MediaEngine::graphMissing, m_player, [this] {
        QMessageBox::critical(m_player, kApplicationTitle, QStringLiteral("GStreamer is not Installed."));
    });
    connect(&m_positionTimer, &QTimer::timeout, this, [this] { m_playback->OnTimer(); });
    m_positionTimer.start(50);

    BuildCommands();
    BuildMenus();
    m_document->NewDocument();
    UpdateTitle();
}

MainWindow::~MainWindow() = default;

void MainWindow::SendToFrame(int, qintptr) {}

void MainWindow::ShowPlayerWindow(bool show)
{
    m_player->setVisible(show);
}

void MainWindow::ShowMessage(const QString& text, Icon icon)
{
    if (icon == Icon::Stop)
        QMessageBox::critical(this, kApplicationTitle, text);
    else
        QMessageBox::warning(this, kApplicationTitle, text);
}

void MainWindow::SetModified()
{
    m_document->SetModified(true);
}

void MainWindow::BuildCommands()
{
    auto& c = m_commands;
    c.Add(57600, [this] {
        if (MaySaveChanges()) {
            m_document->NewDocument();
            m_path.clear();
            UpdateTitle();
        }
    });
    c.Add(57601, [this] {
        const QString path = QFileDialog::getOpenFileName(this, QString(), QString(), kScenarioFilter);
        if (!path.isEmpty())
            OpenDocument(path);
    });
    c.Add(32840, [this] { OpenMediaFiles(); });
    c.Add(57603, [this] {
        if (m_path.isEmpty())
            SaveDocumentAs();
        else
            SaveDocument(m_path);
    });
    c.Add(57604, [this] { SaveDocumentAs(); });
    c.Add(57665, [this] { close(); });
    const std::pair<int, ListViewType> modes[] = {
        {32771, kViewLargeIcons}, {32772, kViewSmallIcons}, {32774, kViewList}, {32773, kViewDetails}};
    for (const auto& [command, type] : modes) {
        c.Add(command, [this, type = type] { m_view->ChangeViewType(type); }, {},
              [this, type = type] { return m_view->ViewType() == type; });
    }
    c.Add(32779, [this] { m_playback->PlayPause(); }, [this] { return m_playback->CanPlayPause(); });
    c.Add(32781, [this] { m_playback->Stop(); }, [this] { return m_playback->CanStop(); });
    c.Add(32833, [this] { m_playback->PlayNext(m_list.FindCurrentItem() - 1); },
          [this] { return m_playback->CanPlayPrevious(); });
    c.Add(32832, [this] { m_playback->PlayNext(m_list.FindCurrentItem() + 1); },
          [this] { return m_playback->CanPlayNext(); });
    c.Add(32790, [this] { m_player->setVisible(!m_player->isVisible()); },
          [this] { return m_playback->FrameState() != kPlayStateEmpty; }, [this] { return m_player->isVisible(); });
    c.Add(57664, [this] {
        QMessageBox::about(this, QStringLiteral("Kivo のﾊﾞｰｼﾞｮﾝ情報"), QStringLiteral("Kivo Version 2.31"));
    });
}

QMenu* MainWindow::AddMenu(const QString& title, const std::vector<int>& commands)
{
    QMenu* menu = menuBar()->addMenu(title);
    for (int command : commands) {
        if (command == 0) {
            menu->addSeparator();
            continue;
        }
        QString text = MenuTexts().at(command);
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        QAction* action = menu->addAction(text.left(tab < 0 ? text.size() : tab));
        if (tab >= 0)
            action->setShortcut(QKeySequence(text.mid(tab + 1)));
        action->setStatusTip(CommandTextOf(command).prompt);
        action->setData(command);
        connect(action, &QAction::triggered, this, [this, command] { m_commands.Run(command); });
    }
    // Enabling and check marks are asked for each time the menu opens.
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        for (QAction* action : menu->actions()) {
            if (action->isSeparator() || !action->data().isValid())
                continue;
            const int command = action->data().toInt();
            action->setEnabled(m_commands.IsEnabled(command));
            action->setCheckable(m_commands.IsChecked(command));
            action->setChecked(m_commands.IsChecked(command));
        }
    });
    return menu;
}

void MainWindow::AddRecentFileEntries(QMenu* menu, QAction* before)
{
    // Four entries, 57616 onwards; "最新のﾌｧｲﾙ", greyed, while the list is empty.
    QList<QAction*> entries;
    for (int i = 0; i < Settings::kRecentFileCount; ++i) {
        auto* entry = new QAction(menu);
        entry->setStatusTip(CommandTextOf(57616 + i).prompt);
        menu->insertAction(before, entry);
        entries.append(entry);
        connect(entry, &QAction::triggered, this, [this, i] {
            const QString path = m_settings.GetRecentFiles().value(i);
            if (!path.isEmpty())
                OpenDocument(path);
        });
    }
    menu->insertSeparator(before);
    connect(menu, &QMenu::aboutToShow, this, [this, entries] {
        const QStringList files = m_settings.GetRecentFiles();
        for (int i = 0; i < entries.size(); ++i) {
            QAction* entry = entries.at(i);
            entry->setVisible(i < files.size() || i == 0);
            entry->setEnabled(i < files.size());
            entry->setText(i < files.size() ? QStringLiteral("&%1 %2").arg(i + 1).arg(files.at(i))
                                            : QStringLiteral("最新のﾌｧｲﾙ"));
        }
    });
}

void MainWindow::BuildMenus()
{
    QMenu* file = AddMenu(QStringLiteral("ﾌｧｲﾙ(&F)"), {57600, 57601, 32840, 57603, 57604, 0, 57665});
    AddRecentFileEntries(file, file->actions().last());
    AddMenu(QStringLiteral("表示(&V)"), {32771, 32772, 32774, 32773});
    AddMenu(QStringLiteral("ﾌﾟﾚｲﾔ(&P)"), {32779, 32781, 0, 32833, 32832, 0, 32790});
    AddMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"), {57664});
}

void MainWindow::UpdateTitle()
{
    const QString name = m_path.isEmpty() ? QStringLiteral("無題") : QFileInfo(m_path).fileName();
    setWindowTitle(name + QStringLiteral(" - Kivo"));
}

bool MainWindow::MaySaveChanges()
{
    if (!m_document->IsModified())
        return true;
    const QString name = m_path.isEmpty() ? QStringLiteral("無題") : QFileInfo(m_path).fileName();
    const auto answer = QMessageBox::question(this, kApplicationTitle, QStringLiteral("%1 への変更を保存しますか?").arg(name),
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::Yes) {
        if (m_path.isEmpty()) {
            SaveDocumentAs();
            return !m_document->IsModified();
        }
        return SaveDocument(m_path);
    }
    return true;
}

void MainWindow::AddMedia(const QStringList& paths, std::function<void()> done)
{
    m_document->AddMediaAndCue(paths, std::move(done));
}

void MainWindow::OpenDocument(const QString& path, std::function<void(bool)> done)
{
    if (!MaySaveChanges())
        return;
    m_document->Open(path, [this, path, done](bool opened) {
        if (opened) {
            m_path = path;
            m_settings.AddRecentFile(QFileInfo(path).absoluteFilePath());
            UpdateTitle();
        } else {
            m_settings.RemoveRecentFile(QFileInfo(path).absoluteFilePath());
        }
        if (done)
            done(opened);
    });
}

bool MainWindow::SaveDocument(const QString& path)
{
    if (!m_document->Save(path))
        return false;
    m_path = path;
    m_settings.AddRecentFile(QFileInfo(path).absoluteFilePath());
    UpdateTitle();
    return true;
}

void MainWindow::SaveDocumentAs()
{
    QString path = QFileDialog::getSaveFileName(this, QString(), m_path, kScenarioFilter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".kvo");
    SaveDocument(path);
}

void MainWindow::OpenMediaFiles()
{
    QFileDialog dialog(this, QStringLiteral("ﾒﾃﾞｨｱﾌｧｲﾙを開く"), m_settings.Get(setting::kOpenFileDir));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = MediaFileFilters();
    dialog.setNameFilters(filters);
    const int index = m_settings.Get(setting::kOpenFileFilterIndex);
    dialog.selectNameFilter(filters.value(index > 0 ? index - 1 : 0));
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    m_settings.Set(setting::kOpenFileFilterIndex, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1);
    m_settings.Set(setting::kOpenFileDir, dialog.directory().absolutePath());
    if (confirmed)
        AddMedia(dialog.selectedFiles());
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    QStringList dropped;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            dropped.append(url.toLocalFile());
    }
    const QStringList collected = ExpandDroppedPaths(dropped);
    if (collected.isEmpty()) {
        QMessageBox::information(this, kApplicationTitle, QString::fromUtf16(kNoFilesInFolderMessage));
        return;
    }
    event->acceptProposedAction();
    if (DropOpensScenario(dropped)) {
        m_playback->Stop();
        m_playback->HidePlayer();
        OpenDocument(collected.first());
        return;
    }
    AddMedia(collected);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!MaySaveChanges()) {
        event->ignore();
        return;
    }
    m_loader.Cancel();
    const QRect normal = normalGeometry();
    m_settings.Set(setting::kX, normal.x());
    m_settings.Set(setting::kY, normal.y());
    m_settings.Set(setting::kCx, normal.width());
    m_settings.Set(setting::kCy, normal.height());
    m_view->SaveLayout(m_settings);
    event->accept();
}

}  // namespace kivo
