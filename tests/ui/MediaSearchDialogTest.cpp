#include "session/DocumentParts.h"
#include "TestMedia.h"
#include "core/Settings.h"
#include "cutlist/ShownText.h"
#include "session/CutListEditor.h"
#include "ui/MediaSearchDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace kivo {
namespace {

using test::Media;

const std::vector<Drive> kDrives = {
    {"/", DriveType::Fixed, "/"},
    {"/media/cdrom", DriveType::CdRom, "/media/cdrom MOVIES [CD-ROM]"},
    {"/tmp", DriveType::RamDisk, "/tmp [RAM ﾃﾞｨｽｸ]"},
};

class SearchDialog : public ::testing::Test {
protected:
    QCheckBox* Check(CMediaSearchDlg& dialog, int id) { return dialog.findChild<QCheckBox*>(QString::number(id)); }

    QTemporaryDir folder;
    Settings settings{folder.filePath("Kivo231.ini")};
};

TEST_F(SearchDialog, StoresTheChoicesOnlyOnStartAndShowsThemAgain)
{
    {
        CMediaSearchDlg dialog(settings, kDrives);
        EXPECT_EQ(dialog.findChild<QComboBox*>()->currentText(), "/");
        dialog.show();
        EXPECT_FALSE(Check(dialog, 1047)->isVisible());
        QTest::mouseDClick(&dialog, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
        EXPECT_FALSE(Check(dialog, 1047)->isVisible());
        QTest::mouseDClick(&dialog, Qt::LeftButton, Qt::ControlModifier, QPoint(2, 2));
        EXPECT_TRUE(Check(dialog, 1047)->isVisible());

        Check(dialog, 1046)->setChecked(true);
        dialog.reject();
        EXPECT_EQ(settings.Get(setting::kMediaMp3), 0);

        Check(dialog, 1038)->setChecked(false);
        Check(dialog, 1047)->setChecked(true);
        dialog.findChild<QComboBox*>()->setCurrentIndex(1);
        dialog.accept();
        EXPECT_EQ(settings.Get(setting::kMediaPath), "/media/cdrom MOVIES [CD-ROM]");
        const MediaChoices choices = dialog.Choices();
        EXPECT_TRUE(choices.mp3 && choices.all && !choices.midi && choices.mpeg);
        EXPECT_EQ(dialog.Root(), "/media/cdrom");
    }
    // Shown again as left, the switched-on "All files" in sight.
    std::vector<Drive> relabelled = kDrives;
    relabelled[1].text = QStringLiteral("/media/cdrom SERIES [CD-ROM]");
    CMediaSearchDlg dialog(settings, relabelled);
    dialog.show();
    EXPECT_EQ(dialog.findChild<QComboBox*>()->currentText(), "/media/cdrom SERIES [CD-ROM]");
    EXPECT_FALSE(Check(dialog, 1038)->isChecked());
    EXPECT_TRUE(Check(dialog, 1046)->isChecked());
    EXPECT_TRUE(Check(dialog, 1047)->isChecked());
    EXPECT_TRUE(Check(dialog, 1047)->isVisible());
}

TEST_F(SearchDialog, ADriveOfTheLongestPathShowsItsStartAndEnd)
{
    QString mountPoint;
    while (mountPoint.size() < 4095 - 256)
        mountPoint += u'/' + QString(255, u'd');
    std::vector<Drive> drives = kDrives;
    drives.push_back({mountPoint.toUtf8(), DriveType::CdRom, mountPoint + " MOVIES [CD-ROM]"});
    CMediaSearchDlg dialog(settings, drives);
    const auto* list = dialog.findChild<QComboBox*>();
    const QString shown = list->itemText(3);
    EXPECT_LE(shown.size(), kMaxNameChars);
    EXPECT_TRUE(shown.startsWith("/ddd") && shown.endsWith("dd MOVIES [CD-ROM]")) << shown.toStdString();
}

TEST_F(SearchDialog, AFolderChosenFromTheLastEntryIsSearchedAndSelectedAgain)
{
    QStringList answers = {QString(), folder.path(), QStringLiteral("/media/cdrom")};
    QStringList starts;
    const auto choose = [&](const QString& start) {
        starts << start;
        return answers.takeFirst();
    };
    {
        CMediaSearchDlg dialog(settings, kDrives);
        dialog.SetFolderChooser(choose);
        dialog.show();
        auto* drives = dialog.findChild<QComboBox*>();
        ASSERT_EQ(drives->count(), 4);
        EXPECT_EQ(drives->itemText(3), "ﾌｫﾙﾀﾞの選択...");
        drives->setFocus();
        QTest::keyClick(drives, Qt::Key_Down);
        QTest::keyClick(drives, Qt::Key_End);  // cancelled: the entry before stays
        EXPECT_EQ(drives->currentText(), "/media/cdrom MOVIES [CD-ROM]");
        QTest::keyClick(drives, Qt::Key_End);
        EXPECT_EQ(starts, QStringList({"/media/cdrom", "/media/cdrom"}));
        EXPECT_EQ(drives->currentText(), folder.path() + " [ﾌｫﾙﾀﾞ]");
        EXPECT_EQ(drives->itemText(drives->count() - 1), "ﾌｫﾙﾀﾞの選択...");
        EXPECT_EQ(dialog.Root(), QFile::encodeName(folder.path()));
        dialog.accept();
        EXPECT_EQ(settings.Get(setting::kMediaPath), folder.path() + " [ﾌｫﾙﾀﾞ]");
    }
    CMediaSearchDlg dialog(settings, kDrives);
    dialog.SetFolderChooser(choose);
    auto* drives = dialog.findChild<QComboBox*>();
    EXPECT_EQ(drives->currentText(), folder.path() + " [ﾌｫﾙﾀﾞ]");
    EXPECT_EQ(dialog.Root(), QFile::encodeName(folder.path()));
    dialog.show();
    drives->setFocus();
    QTest::keyClick(drives, Qt::Key_End);  // a mount point chosen: its drive
    EXPECT_EQ(drives->currentText(), "/media/cdrom MOVIES [CD-ROM]");
    EXPECT_EQ(drives->count(), 5);
}

// The whole command over a drive that is a temporary folder, its modal
// dialogs answered in turn.
class SearchCommand : public ::testing::Test, protected test::DocumentParts {
protected:
    using Answer = std::function<bool(QWidget* modal)>;

    void SetUp() override
    {
        settings.Set(setting::kMediaPath, drive.path());
        QDir(drive.path()).mkpath("sub/deep");
        ASSERT_TRUE(QFile::copy(Media("video.avi"), drive.filePath("sub/deep/b.avi")));
        ASSERT_TRUE(QFile::copy(Media("audio.wav"), drive.filePath("a.WAV")));
        ASSERT_TRUE(QFile::copy(Media("audio.wav"), drive.filePath("sub/c.wav.txt")));
        ASSERT_TRUE(Add({Media("audio.wav"), Media("video.avi")}));
    }

    // Runs the command; each answer handles the modal window it is meant for.
    void Search(std::vector<Answer> answers)
    {
        size_t next = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box)
                messages << box->text() + "|" + QString::number(box->icon());
            if (modal && next < answers.size() && answers[next](modal))
                ++next;
            else if (box)  // not expected: recorded, and out of the way
                box->reject();
        });
        timer.start(0);
        bool done = false;
        const std::vector<Drive> drives = {{QFile::encodeName(drive.path()), DriveType::Fixed, drive.path()}};
        SearchMedia(nullptr, settings, document, editor, drives, [&] { done = true; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 60000));
        EXPECT_EQ(next, answers.size());
    }

    // An answer for a modal window of the kind `Modal`.
    template <typename Modal>
    static Answer To(std::type_identity_t<std::function<void(Modal*)>> act)
    {
        return [act](QWidget* modal) {
            auto* window = qobject_cast<Modal*>(modal);
            if (window)
                act(window);
            return window != nullptr;
        };
    }
    static Answer Start() { return To<CMediaSearchDlg>([](CMediaSearchDlg* dialog) { dialog->accept(); }); }
    static Answer Reply(QMessageBox::StandardButton button)
    {
        return To<QMessageBox>([button](QMessageBox* box) { box->button(button)->click(); });
    }
    static Answer CancelWalk() { return To<SearchProgressDialog>([](auto* dialog) { dialog->reject(); }); }

    QStringList Names() const
    {
        QStringList names;
        for (int i = 0; i < list.GetItemCount(); ++i)
            names << list.GetItemText(i, CutListModel::kColumnName);
        return names;
    }

    QTemporaryDir folder;
    QTemporaryDir drive;
    Settings settings{folder.filePath("Kivo231.ini")};
    CutListEditor editor{list, document, playback};
    QStringList messages;
};

const QString kClearQuestion = QStringLiteral("カットリストをクリアしますか？|%1").arg(QMessageBox::Question);

TEST_F(SearchCommand, KeptObjectsAndHitsAreSortedByNameAndTheFirstIsCued)
{
    editor.Sort(SortKey::Name);  // the next name sort would descend
    document.SetModified(false);
    Search({Start(), Reply(QMessageBox::No)});
    EXPECT_EQ(messages, QStringList{kClearQuestion});
    QStringList expected = {Media("audio.wav"), Media("video.avi"), drive.filePath("a.WAV"),
                            drive.filePath("sub/deep/b.avi")};
    expected.sort(Qt::CaseInsensitive);
    EXPECT_EQ(Names(), expected);
    EXPECT_EQ(list.FindCurrentItem(), 0);
    EXPECT_TRUE(document.IsModified());
    editor.Sort(SortKey::Name);  // the search's sort was ascending: this one descends
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(Names(), expected);
}

TEST_F(SearchCommand, ACancelledWalkAddsNothingAndAClearedListStaysEmpty)
{
    Search({Start(), Reply(QMessageBox::Yes), CancelWalk()});
    EXPECT_EQ(messages, QStringList{kClearQuestion});
    EXPECT_EQ(list.GetItemCount(), 0);
    EXPECT_TRUE(document.IsModified());
}

TEST_F(SearchCommand, NothingFoundIsToldAndChangesNothingElse)
{
    settings.Set(setting::kMediaAvi, 0);
    settings.Set(setting::kMediaWav, 0);
    Search({Start(), Reply(QMessageBox::No), Reply(QMessageBox::Ok)});
    EXPECT_EQ(messages, QStringList({kClearQuestion, QStringLiteral("メディアファイルは見つかりませんでした。|%1")
                                                         .arg(QMessageBox::Information)}));
    EXPECT_EQ(Names(), QStringList({Media("audio.wav"), Media("video.avi")}));

    settings.Set(setting::kMediaAll, 1);  // every file, whatever its name
    messages.clear();
    Search({Start(), Reply(QMessageBox::Yes)});
    EXPECT_EQ(list.GetItemCount(), 3);
}

}  // namespace
}  // namespace kivo
