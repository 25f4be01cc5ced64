#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace kivo {

class CutListModel;
class MediaLoader;

// "読み込み中": the modal dialog of a loading run, with a progress bar, the
// picture of the object last added, the name of the file being examined and
// "ｷｬﾝｾﾙ". It shows while the loader runs. Cancel, Escape and the close box
// only ask the run to end after the file being examined; Enter does nothing.
class LoadingDialog : public QDialog {
    Q_OBJECT

public:
    LoadingDialog(MediaLoader& loader, CutListModel& list, QWidget* parent = nullptr);

    void reject() override;
    void accept() override {}

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    MediaLoader& m_loader;
    CutListModel& m_list;
    QProgressBar* m_progress;
    QLabel* m_preview;
    QLabel* m_name;
};

}  // namespace kivo
