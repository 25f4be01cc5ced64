#include "session/DocumentParts.h"
#include "ModalWindows.h"
#include "TestMedia.h"
#include "core/Settings.h"
#include "cutlist/ShownText.h"
#include "ui/MediaSearchDialog.h"

#include <QtTest>
#include <QtWidgets>

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

TEST_F(SearchDialog, StoresTheChoicesOnlyOnStartAndShowsThemAgainWithLongDrivesCut)
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
    // Shown again as left, the switched-on "All files" in sight; a drive
    // of the longest path shows its start and end.
    std::vector<Drive> drives = kDrives;
    drives[1].text = QStringLiteral("/media/cdrom SERIES [CD-ROM]");
    QString mountPoint;
    while (mountPoint.size() < 4095 - 256)
        mountPoint += u'/' + QString(255, u'd');
    drives.push_back({mountPoint.toUtf8(), DriveType::CdRom, mountPoint + " MOVIES [CD-ROM]"});
    CMediaSearchDlg dialog(settings, drives);
    dialog.show();
    EXPECT_EQ(dialog.findChild<QComboBox*>()->currentText(), "/media/cdrom SERIES [CD-ROM]");
    EXPECT_TRUE(!Check(dialog, 1038)->isChecked() && Check(dialog, 1046)->isChecked());
    EXPECT_TRUE(Check(dialog, 1047)->isChecked() && Check(dialog, 1047)->isVisible());
    const QString deep = dialog.findChild<QComboBox*>()->itemText(3);
    EXPECT_LE(deep.size(), kMaxNameChars);
    EXPECT_TRUE(deep.startsWith("/ddd") && deep.endsWith("dd MOVIES [CD-ROM]")) << deep.toStdString();
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

// The run's questions as message boxes, and its walk in the progress dialog.
TEST_F(SearchDialog, TheWindowsAskTellAndShowTheWalkWhoseCancelTheyForward)
{
    test::DocumentParts parts;
    ASSERT_TRUE(parts.Add({Media("audio.wav")}));
    MediaSearchWindows windows(nullptr, settings, parts.document, parts.session.editor);
    MediaSearchRun& run = windows.Run();
    const QByteArray root = QFile::encodeName(folder.path());  // nothing to find there
    {
        const auto asked = test::WhenShown<QMessageBox>([](QMessageBox* box) {
            EXPECT_EQ(box->text(), "カットリストをクリアしますか？");
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
            box->button(QMessageBox::No)->click();
        });
        run.Start({}, root);
    }
    QPointer progress = qobject_cast<SearchProgressDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(progress);
    emit run.walkProgressed(12, 3);
    QStringList labels;
    for (const QLabel* label : progress->findChildren<QLabel*>())
        labels << label->text();
    labels.sort();
    EXPECT_EQ(labels, QStringList({"検索中: " + folder.path(), "見つかったﾌｧｲﾙ: 3", "ﾌｫﾙﾀﾞ: 12"}));
    QTest::keyClick(progress, Qt::Key_Escape);
    EXPECT_FALSE(run.IsWalking());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !progress; }));

    parts.session.editor.DeleteAll();  // nothing to ask
    bool done = false;
    const test::ShownBox told = test::CloseMessageBox([&] {
        run.Start({}, root, [&] { done = true; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }));
    });
    EXPECT_EQ(told.text, "メディアファイルは見つかりませんでした。");
    EXPECT_EQ(told.icon, QMessageBox::Information);
}

}  // namespace
}  // namespace kivo
