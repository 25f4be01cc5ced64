#include "ui/MediaSearchDialog.h"

#include "cutlist/ShownText.h"
#include "core/Settings.h"

#include <QCoreApplication>
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
#include <QVBoxLayout>

#include <array>

namespace kivo {
namespace {

struct OlderCheckBox {
    int id;
    const char* text;
    IntSetting setting;
    bool MediaChoices::*choice;
};

// The older kinds' check boxes from top to bottom.
const std::array<OlderCheckBox, 10> kOlderCheckBoxes = {{
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

// A check box of the dialog: the older kinds' named by their control
// number, today's by their setting.
struct CheckBox {
    QString name;
    QString text;
    IntSetting setting;
    std::function<bool&(MediaChoices&)> choice;
};

// Every check box from top to bottom: the older kinds, then today's.
const std::vector<CheckBox>& CheckBoxes()
{
    static const std::vector<CheckBox> boxes = [] {
        std::vector<CheckBox> all;
        for (const OlderCheckBox& box : kOlderCheckBoxes)
            all.push_back({QString::number(box.id), QString::fromUtf8(box.text), box.setting,
                           [member = box.choice](MediaChoices& choices) -> bool& { return choices.*member; }});
        for (size_t i = 0; i < kTodaysMediaKinds.size(); ++i) {
            const TodaysMediaKind& kind = kTodaysMediaKinds[i];
            all.push_back({QString::fromLatin1(kind.settingKey), QString::fromUtf8(kind.searchName),
                           IntSetting{kind.settingKey, kind.searchedByDefault ? 1 : 0},
                           [i](MediaChoices& choices) -> bool& { return choices.todays[i]; }});
        }
        return all;
    }();
    return boxes;
}

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
    for (const CheckBox& box : CheckBoxes()) {
        auto* check = new QCheckBox(box.text, group);
        check->setObjectName(box.name);
        check->setChecked(settings.Get(box.setting) != 0);
        checks->addWidget(check);
        m_checks.push_back(check);
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
    for (size_t i = 0; i < m_checks.size(); ++i)
        CheckBoxes()[i].choice(choices) = m_checks[i]->isChecked();
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
    for (size_t i = 0; i < m_checks.size(); ++i)
        m_settings.Set(CheckBoxes()[i].setting, m_checks[i]->isChecked() ? 1 : 0);
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

SearchProgressDialog::SearchProgressDialog(MediaSearchRun& run, const QByteArray& root, QWidget* parent)
    : QDialog(parent), m_run(run), m_folders(new QLabel(this)), m_hits(new QLabel(this)),
      m_busy(std::in_place, Qt::BusyCursor)
{
    setWindowTitle(kCaption);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("検索中: %1").arg(QFile::decodeName(root)), this));
    layout->addWidget(m_folders);
    layout->addWidget(m_hits);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ShowCounts(0, 0);
    connect(&run, &MediaSearchRun::walkProgressed, this, &SearchProgressDialog::ShowCounts);
    connect(&run, &MediaSearchRun::walkEnded, this, [this] {
        m_busy.reset();
        accept();
    });
    connect(this, &QDialog::finished, this, &QObject::deleteLater);
}

void SearchProgressDialog::ShowCounts(quint64 folders, quint64 hits)
{
    m_folders->setText(tr("ﾌｫﾙﾀﾞ: %1").arg(folders));
    m_hits->setText(tr("見つかったﾌｧｲﾙ: %1").arg(hits));
}

void SearchProgressDialog::reject()
{
    // The run's end closes the dialog.
    if (m_run.IsWalking())
        m_run.Cancel();
    else
        QDialog::reject();
}

MediaSearchWindows::MediaSearchWindows(QWidget* owner, Settings& settings, CutListDocument& document,
                                       CutListEditor& editor)
    : m_owner(owner), m_settings(settings), m_run(document, editor, *this)
{
    QObject::connect(&m_run, &MediaSearchRun::walkStarted, &m_run, [this](const QByteArray& root) {
        (new SearchProgressDialog(m_run, root, m_owner))->show();
    });
}

void MediaSearchWindows::Search(std::function<void()> done)
{
    CMediaSearchDlg dialog(m_settings, ListDrives(), m_owner);
    if (dialog.exec() != QDialog::Accepted) {
        if (done)
            done();
        return;
    }
    m_run.Start(dialog.Choices(), dialog.Root(), std::move(done));
}

bool MediaSearchWindows::AskToClearCutList()
{
    QMessageBox question(QMessageBox::Question, QCoreApplication::applicationName(),
                         CMediaSearchDlg::tr("カットリストをクリアしますか？"), QMessageBox::Yes | QMessageBox::No, m_owner);
    question.setDefaultButton(QMessageBox::Yes);
    return question.exec() == QMessageBox::Yes;
}

void MediaSearchWindows::TellNothingFound()
{
    QMessageBox::information(m_owner, QCoreApplication::applicationName(),
                             CMediaSearchDlg::tr("メディアファイルは見つかりませんでした。"));
}

}  // namespace kivo
