#pragma once

#include "session/LoadingPace.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

class QLabel;
class QProgressBar;

namespace kivo {

class MediaLoader;

// "読み込み中": the modal dialog of a loading run, with a progress bar, the
// name of the file being examined with its picture once it is ready, the
// run's pace once it can be told, and "ｷｬﾝｾﾙ". It shows while the loader
// runs: a run begins once the dialog is on the screen (or after
// kLongestWaitMs at the latest), so that it never goes before the window
// manager has shown it, and the main window has the keys again at the end.
// Cancel, Escape and the close box only ask the run to end after the file
// being examined; Enter does nothing.
class LoadingDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kLongestWaitMs = 1000;

    LoadingDialog(MediaLoader& loader, QWidget* parent = nullptr);

    void reject() override;
    void accept() override {}

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Finish();
    // The file's name as wide as its line is, its middle left out.
    void ShowFileName();

    QTimer m_longestWait;
    MediaLoader& m_loader;
    QProgressBar* m_progress;
    QLabel* m_preview;
    QLabel* m_name;
    QString m_fileName;
    QLabel* m_pace;
    LoadingPace m_paceOfRun;
    QElapsedTimer m_clock;
};

}  // namespace kivo
