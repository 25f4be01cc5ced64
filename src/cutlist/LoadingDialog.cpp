#include "LoadingDialog.h"

#include "CutListModel.h"
#include "MediaLoader.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kivo {

LoadingDialog::LoadingDialog(MediaLoader& loader, CutListModel& list, QWidget* parent)
    : QDialog(parent), m_loader(loader), m_list(list), m_progress(new QProgressBar(this)),
      m_preview(new QLabel(this)), m_name(new QLabel(this))
{
    setWindowTitle(QStringLiteral("読み込み中"));
    // A caption with a close box only: closing asks to cancel.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    m_progress->setTextVisible(false);
    m_preview->setFixedSize(64, 48);
    m_name->setAlignment(Qt::AlignCenter);
    auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel->setAutoDefault(false);
    layout->addWidget(m_progress);
    layout->addWidget(m_preview, 0, Qt::AlignHCenter);
    layout->addWidget(m_name);
    layout->addWidget(cancel);
    connect(cancel, &QPushButton::clicked, this, &LoadingDialog::reject);
    connect(&m_loader, &MediaLoader::progress, this, [this](int done, int total) {
        m_progress->setRange(0, total);
        m_progress->setValue(done);
        if (done == 0)
            show();
    });
    connect(&m_loader, &MediaLoader::finished, this, &QWidget::hide);
    connect(&m_loader, &MediaLoader::fileStarted, m_name, &QLabel::setText);
    connect(&m_list, &CutListModel::rowsInserted, this, [this](const QModelIndex&, int, int last) {
        m_preview->setPixmap(QPixmap::fromImage(m_list.GetLargeImage(m_list.GetItemData(last))));
    });
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
