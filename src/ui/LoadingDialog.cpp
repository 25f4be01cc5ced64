#include "ui/LoadingDialog.h"

#include "cutlist/ShownText.h"
#include "session/MediaLoader.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

namespace kivo {

LoadingDialog::LoadingDialog(MediaLoader& loader, QWidget* parent)
    : QDialog(parent), m_loader(loader), m_progress(new QProgressBar(this)),
      m_preview(new QLabel(this)), m_name(new QLabel(this)), m_pace(new QLabel(this))
{
    setWindowTitle(tr("読み込み中"));
    // A caption with a close box only: closing asks to cancel.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    m_progress->setTextVisible(false);
    m_preview->setFixedSize(64, 48);
    m_name->setAlignment(Qt::AlignCenter);
    // A long name is cut to the dialog's width rather than widen it.
    m_name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_pace->setAlignment(Qt::AlignCenter);
    auto* cancel = new QPushButton(tr("ｷｬﾝｾﾙ"), this);
    cancel->setAutoDefault(false);
    layout->addWidget(m_progress);
    layout->addWidget(m_preview, 0, Qt::AlignHCenter);
    layout->addWidget(m_name);
    layout->addWidget(m_pace);
    layout->addWidget(cancel);
    connect(cancel, &QPushButton::clicked, this, &LoadingDialog::reject);
    m_loader.SetStartsHeld(true);
    m_longestWait.setSingleShot(true);
    m_longestWait.setInterval(kLongestWaitMs);
    connect(&m_longestWait, &QTimer::timeout, &m_loader, &MediaLoader::Begin);
    m_clock.start();
    connect(&m_loader, &MediaLoader::progress, this, [this](int done, int total) {
        m_progress->setRange(0, total);
        m_progress->setValue(done);
        m_paceOfRun.Update(done, m_clock.elapsed());
        m_pace->setText(done == 0 ? QString() : m_paceOfRun.Text());
        if (done == 0) {
            // From the event loop: a run started before the main window is
            // shown (a scenario named at start) must not show its dialog
            // before the dialog's owner.
            QMetaObject::invokeMethod(this, &QWidget::show, Qt::QueuedConnection);
            m_longestWait.start();
        }
    });
    connect(&m_loader, &MediaLoader::finished, this, &LoadingDialog::Finish);
    // The picture shown is the named file's: none until its object is ready.
    // (The files ahead of it are examined meanwhile, and go into the list
    // some at a time, so neither the last examined nor the last inserted
    // object need be the file named.)
    connect(&m_loader, &MediaLoader::fileStarted, this, [this](const QString& name) {
        m_fileName = ShownFileName(name);
        ShowFileName();
        m_preview->clear();
    });
    connect(&m_loader, &MediaLoader::filePictured, this,
            [this](const QImage& picture) { m_preview->setPixmap(QPixmap::fromImage(picture)); });
    // The pace counts from the first file on, not from the wait for the
    // dialog to show.
    connect(&m_loader, &MediaLoader::fileStarted, this, [this] {
        if (m_progress->value() == 0)
            m_paceOfRun.Start(m_progress->maximum(), m_clock.elapsed());
    });
}

void LoadingDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    windowHandle()->removeEventFilter(this);
    windowHandle()->installEventFilter(this);
}

bool LoadingDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed() &&
        m_longestWait.isActive()) {
        m_longestWait.stop();
        m_loader.Begin();
    }
    return QDialog::eventFilter(watched, event);
}

void LoadingDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    ShowFileName();
}

void LoadingDialog::ShowFileName()
{
    m_name->setText(m_name->fontMetrics().elidedText(m_fileName, Qt::ElideMiddle, m_name->contentsRect().width()));
}

void LoadingDialog::Finish()
{
    m_longestWait.stop();
    const bool hadTheKeys = isActiveWindow();
    hide();
    if (hadTheKeys && parentWidget() != nullptr)
        parentWidget()->activateWindow();
}

void LoadingDialog::reject()
{
    m_loader.Cancel();
}

void LoadingDialog::closeEvent(QCloseEvent* event)
{
    m_loader.Cancel();
    event->ignore();
}

}  // namespace kivo
