#include "ui/MediaSearchDialog.h"

#include "cutlist/ShownText.h"
#include "session/CutListDocument.h"
#include "session/CutListEditor.h"
#include "ui/OverrideCursor.h"
#include "core/Settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <thread>

namespace kivo {
namespace {

struct CheckBox {
    int id;
    const char* text;
    IntSetting setting;
    bool MediaChoices::*choice;
};

// The check boxes from top to bottom.
const std::array<CheckBox, 10> kCheckBoxes = {{
    {1038, "Musical Instrument Digital Interface MIDI (.mid) ", setting::kMediaMidi, &MediaChoices::midi},
    {1040, "MPEG-1 (.mpg, .mpeg, .mpv, .mp2, .mpa, .mpe)", setting::kMediaMpg, &MediaChoices::mpeg},
    {1048, "Video CD(.dat)", setting::kMediaVcd, &MediaChoices::vcd},
    {1041, "Audio Visual Interleave AVI (.avi)", setting::kMediaAvi, &MediaChoices::avi},
    {1043, "Windows audio (.wav)", setting::kMediaWav, &MediaChoices::wav},
    {1042, "Apple QuickTime (.mov, .qt)", setting::kMediaMov, &MediaChoices::mov},
    {1045, "Macintosh AIFF (.aif, .aifc, .aiff)", setting::kMediaAif, &MediaChoices::aiff},
    {1044, "Sun Microsystems NeXT AU (.au, .snd)", setting::kMediaAu, &MediaChoices::au},
    {1046, "MPEG Audio Layer-3 (.mp3)", setting::kMediaMp3, &MediaChoices::mp3},
    {1049, "RealNetworks RealAudio RealVideo 4.0 (.ra, .rm)", setting::kMediaRa, &MediaChoices::realMedia},
}};

const char* const kCaption = QT_TRANSLATE_NOOP("kivo::CMediaSearchDlg", "ﾒﾃﾞｨｱﾌｧｲﾙの検索");

}  // namespace

CMediaSearchDlg::CMediaSearchDlg(Settings& settings, std::vector<Drive> drives, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_drives(std::move(drives)), m_cbDrive(new QComboBox(this)),
      m_btnAll(new QCheckBox(QStringLiteral("All files(*.*)"), this))
{
    setWindowTitle(tr(kCaption));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("ﾄﾞﾗｲﾌﾞ名"), this));
    m_cbDrive->setObjectName(QStringLiteral("1039"));
    const QString stored = settings.Get(setting::kMediaPath);
    AddStoredFolder(m_drives, stored);
    FillDriveList();
    layout->addWidget(m_cbDrive);

    auto* group = new QGroupBox(tr("検索対象 ﾒﾃﾞｨｱﾀｲﾌﾟ"), this);
    auto* checks = new QVBoxLayout(group);
    for (size_t i = 0; i < kCheckBoxes.size(); ++i) {
        m_checks[i] = new QCheckBox(QString::fromUtf8(kCheckBoxes[i].text), group);
        m_checks[i]->setObjectName(QString::number(kCheckBoxes[i].id));
        m_checks[i]->setChecked(settings.Get(kCheckBoxes[i].setting) != 0);
        checks->addWidget(m_checks[i]);
    }
    m_btnAll->setParent(group);
    m_btnAll->setObjectName(QStringLiteral("1047"));
    m_btnAll->setChecked(settings.Get(setting::kMediaAll) != 0);
    // A switch that is on stays in sight, so that it can be seen and undone.
    m_btnAll->setVisible(m_btnAll->isChecked());
    checks->addWidget(m_btnAll);
    layout->addWidget(group);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* start = buttons->addButton(tr("検索開始"), QDialogButtonBox::AcceptRole);
    start->setDefault(true);
    buttons->addButton(tr("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    m_lastDrive = SelectDrive(m_drives, stored);
    m_cbDrive->setCurrentIndex(m_lastDrive);
    m_chooseFolder = [this](const QString& from) {
        return QFileDialog::getExistingDirectory(this, tr("ﾌｫﾙﾀﾞの選択"), from);
    };
    connect(m_cbDrive, &QComboBox::activated, this, &CMediaSearchDlg::DriveActivated);
}

void CMediaSearchDlg::SetFolderChooser(std::function<QString(const QString& start)> choose)
{
    m_chooseFolder = std::move(choose);
}

void CMediaSearchDlg::FillDriveList()
{
    m_cbDrive->clear();
    for (const Drive& drive : m_drives)
        m_cbDrive->addItem(ShownPath(drive.text));
    m_cbDrive->addItem(tr("ﾌｫﾙﾀﾞの選択..."));
}

void CMediaSearchDlg::DriveActivated(int index)
{
    if (SelectedDrive()) {
        m_lastDrive = index;
        return;
    }
    QString from;
    if (m_lastDrive >= 0)
        from = QFile::decodeName(m_drives[static_cast<size_t>(m_lastDrive)].mountPoint);
    const QString folder = m_chooseFolder(from);
    if (!folder.isEmpty()) {
        m_lastDrive = AddFolder(m_drives, QFile::encodeName(folder), DriveType::Folder);
        FillDriveList();
    }
    m_cbDrive->setCurrentIndex(m_lastDrive);
}

const Drive* CMediaSearchDlg::SelectedDrive() const
{
    const auto index = static_cast<size_t>(m_cbDrive->currentIndex());  // -1: beyond every index
    return index < m_drives.size() ? &m_drives[index] : nullptr;
}

MediaChoices CMediaSearchDlg::Choices() const
{
    MediaChoices choices;
    for (size_t i = 0; i < kCheckBoxes.size(); ++i)
        choices.*kCheckBoxes[i].choice = m_checks[i]->isChecked();
    choices.all = m_btnAll->isChecked();
    return choices;
}

QByteArray CMediaSearchDlg::Root() const
{
    const Drive* drive = SelectedDrive();
    return drive ? drive->mountPoint : QByteArray("/");
}

void CMediaSearchDlg::accept()
{
    for (size_t i = 0; i < kCheckBoxes.size(); ++i)
        m_settings.Set(kCheckBoxes[i].setting, m_checks[i]->isChecked() ? 1 : 0);
    m_settings.Set(setting::kMediaAll, m_btnAll->isChecked() ? 1 : 0);
    if (const Drive* drive = SelectedDrive())
        m_settings.Set(setting::kMediaPath, drive->text);
    QDialog::accept();
}

void CMediaSearchDlg::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier)
        m_btnAll->setVisible(true);
    QDialog::mouseDoubleClickEvent(event);
}

// What the walk and the dialog share; the worker keeps it alive when the
// dialog has gone before the walk ended.
struct SearchProgressDialog::Job {
    std::atomic<bool> cancel = false;
    std::atomic<bool> finished = false;
    std::atomic<std::uint64_t> folders = 0;
    std::atomic<std::uint64_t> hits = 0;
    SearchResult result;
    std::thread worker;
};

SearchProgressDialog::SearchProgressDialog(QByteArray root, std::vector<std::string> extensions, bool allFiles,
                                           QWidget* parent)
    : QDialog(parent), m_root(std::move(root)), m_extensions(std::move(extensions)), m_allFiles(allFiles),
      m_job(std::make_shared<Job>()), m_folders(new QLabel(this)), m_hits(new QLabel(this)), m_timer(new QTimer(this))
{
    setWindowTitle(CMediaSearchDlg::tr(kCaption));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("検索中: %1").arg(QFile::decodeName(m_root)), this));
    layout->addWidget(m_folders);
    layout->addWidget(m_hits);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Poll();
    connect(m_timer, &QTimer::timeout, this, &SearchProgressDialog::Poll);
}

SearchProgressDialog::~SearchProgressDialog()
{
    if (m_job->worker.joinable())
        m_job->worker.detach();
}

std::optional<QStringList> SearchProgressDialog::Run()
{
    m_job->worker = std::thread([job = m_job, root = m_root, extensions = m_extensions, all = m_allFiles] {
        SearchControl control;
        control.cancel = &job->cancel;
        control.progress = [&job](const SearchCounts& counts) {
            job->folders.store(counts.folders, std::memory_order_relaxed);
            job->hits.store(counts.hits, std::memory_order_relaxed);
        };
        // The mount table is read here too: nothing of another file system
        // is touched, and the walk does not enter it.
        control.skippedFolders = MountPointsBelow(ReadMountTable(), root);
        job->result = SearchFolder(root, extensions, all, control);
        job->finished.store(true, std::memory_order_release);
    });
    const OverrideCursor cursor(Qt::BusyCursor);
    m_timer->start(100);
    const int answer = exec();
    m_timer->stop();
    if (answer != Accepted || m_job->cancel.load())
        return std::nullopt;
    m_job->worker.join();
    return std::move(m_job->result.paths);
}

void SearchProgressDialog::Poll()
{
    m_folders->setText(tr("ﾌｫﾙﾀﾞ: %1").arg(m_job->folders.load(std::memory_order_relaxed)));
    m_hits->setText(tr("見つかったﾌｧｲﾙ: %1").arg(m_job->hits.load(std::memory_order_relaxed)));
    if (m_job->finished.load(std::memory_order_acquire) && isVisible())
        accept();
}

void SearchProgressDialog::reject()
{
    m_job->cancel.store(true);
    if (m_job->finished.load(std::memory_order_acquire))
        m_job->worker.join();
    QDialog::reject();
}

void SearchMedia(QWidget* owner, Settings& settings, CutListDocument& document, CutListEditor& editor,
                 std::function<void()> done)
{
    SearchMedia(owner, settings, document, editor, ListDrives(), std::move(done));
}

void SearchMedia(QWidget* owner, Settings& settings, CutListDocument& document, CutListEditor& editor,
                 const std::vector<Drive>& drives, std::function<void()> done)
{
    const auto finish = [&done] {
        if (done)
            done();
    };
    MediaChoices choices;
    QByteArray root;
    {
        CMediaSearchDlg dialog(settings, drives, owner);
        if (dialog.exec() != QDialog::Accepted) {
            finish();
            return;
        }
        choices = dialog.Choices();
        root = dialog.Root();
    }
    const QString title = QCoreApplication::applicationName();
    if (editor.HasItems()) {
        QMessageBox question(QMessageBox::Question, title, CMediaSearchDlg::tr("カットリストをクリアしますか？"),
                             QMessageBox::Yes | QMessageBox::No, owner);
        question.setDefaultButton(QMessageBox::Yes);
        if (question.exec() == QMessageBox::Yes) {
            editor.DeleteAll();
            document.UpdateSummary();
        }
    }

    std::optional<QStringList> found;
    {
        SearchProgressDialog progress(root, choices.all ? std::vector<std::string>{} : ExtensionList(choices),
                                      choices.all, owner);
        found = progress.Run();
    }
    if (!found) {
        finish();
        return;
    }
    if (found->isEmpty()) {
        QMessageBox::information(owner, title, CMediaSearchDlg::tr("メディアファイルは見つかりませんでした。"));
        finish();
        return;
    }
    document.AddMediaFiles(*found, false, [&document, &editor, done] {
        editor.SortByNameAscending();
        document.CueObject(0, 0);
        if (done)
            done();
    });
}

}  // namespace kivo
