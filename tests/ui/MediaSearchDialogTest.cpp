#include "session/DocumentParts.h"
#include "ModalWindows.h"
#include "TestMedia.h"
#include "core/Settings.h"
#include "cutlist/ShownText.h"
#include "ui/MediaSearchDialog.h"

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
    QTemporaryDir folder;
    Settings settings{folder.filePath("Kivo231.ini")};
};

QCheckBox* Check(CMediaSearchDlg& dialog, int id) { return dialog.findChild<QCheckBox*>(QString::number(id)); }

// Which drive or folder a stored entry selects, and which folder gets an
// entry of its own, are decided without a display (MediaSearchTest).
TEST_F(SearchDialog, StoresTheChoicesAndTheDriveOrChosenFolderOnStartOnlyAndShowsThemAgainWithLongDrivesCut)
{
    std::vector<Drive> drives = kDrives;
    const QString mountPoint = u'/' + QStringList(15, QString(255, u'd')).join(u'/');
    drives.push_back({mountPoint.toUtf8(), DriveType::CdRom, mountPoint + " MOVIES [CD-ROM]"});
    QStringList answers = {QString(), folder.path()};
    QStringList starts;
    const QString chosen = folder.path() + " [ﾌｫﾙﾀﾞ]";
    {
        CMediaSearchDlg dialog(settings, drives);
        dialog.SetFolderChooser([&](const QString& start) {
            starts << start;
            return answers.takeFirst();
        });
        auto* list = dialog.findChild<QComboBox*>();
        EXPECT_EQ(list->currentText(), "/");
        const QString deep = list->itemText(3);
        EXPECT_TRUE(deep.size() <= kMaxNameChars && deep.startsWith("/ddd") && deep.endsWith("dd MOVIES [CD-ROM]"));
        dialog.show();
        // "All files" shows on a double click with Ctrl only.
        for (const Qt::KeyboardModifier modifier : {Qt::NoModifier, Qt::ControlModifier}) {
            EXPECT_FALSE(Check(dialog, 1047)->isVisible());
            QTest::mouseDClick(&dialog, Qt::LeftButton, modifier, QPoint(2, 2));
        }
        EXPECT_TRUE(Check(dialog, 1047)->isVisible());
        Check(dialog, 1046)->setChecked(true);
        dialog.reject();
        EXPECT_EQ(settings.Get(setting::kMediaMp3), 0);

        Check(dialog, 1038)->setChecked(false);
        Check(dialog, 1047)->setChecked(true);
        // The last entry asks for a folder from the drive before it; when
        // cancelled, that drive stays.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_End);
        EXPECT_EQ(list->currentText(), "/media/cdrom MOVIES [CD-ROM]");
        QTest::keyClick(list, Qt::Key_End);
        EXPECT_EQ(std::tuple(starts, list->currentText(), list->itemText(list->count() - 1)),
                  std::tuple(QStringList({"/media/cdrom", "/media/cdrom"}), chosen, "ﾌｫﾙﾀﾞの選択..."));
        dialog.accept();
        EXPECT_EQ(settings.Get(setting::kMediaPath), chosen);
        const MediaChoices choices = dialog.Choices();
        EXPECT_TRUE(choices.mp3 && choices.all && !choices.midi && choices.mpeg);
    }
    // Shown again as left, the switched-on "All files" in sight.
    CMediaSearchDlg dialog(settings, kDrives);
    dialog.show();
    EXPECT_EQ(std::tuple(dialog.findChild<QComboBox*>()->currentText(), dialog.Root()), std::tuple(chosen, QFile::encodeName(folder.path())));
    EXPECT_TRUE(!Check(dialog, 1038)->isChecked() && Check(dialog, 1046)->isChecked() && Check(dialog, 1047)->isChecked() &&
                Check(dialog, 1047)->isVisible());
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
            EXPECT_EQ(std::tuple(box->text(), box->icon(), box->defaultButton()),
                      std::tuple("カットリストをクリアしますか？", QMessageBox::Question, box->button(QMessageBox::Yes)));
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
    EXPECT_EQ(std::pair(told.text, told.icon), std::pair(QString("メディアファイルは見つかりませんでした。"), QMessageBox::Information));
}

}  // namespace
}  // namespace kivo
