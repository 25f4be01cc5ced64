#include "ui/AboutDialog.h"

#include "ui/CommandActions.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

namespace kivo {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("ﾊﾞｰｼﾞｮﾝ情報(Kivo)"));

    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = StandardIcon(QStyle::SP_MediaPlay);
    auto* picture = new QLabel(this);
    picture->setPixmap(icon.pixmap(32, 32));

    auto* address = new QLineEdit(QStringLiteral("https://kivo.example.org/"), this);
    address->setObjectName(QStringLiteral("webAddress"));
    address->setReadOnly(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(picture, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(new QLabel(QStringLiteral("Kivo Version 2.31"), this), 0, 1);
    layout->addWidget(address, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setColumnMinimumWidth(1, 240);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace kivo
