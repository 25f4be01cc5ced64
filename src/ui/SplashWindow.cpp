#include "ui/SplashWindow.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>

namespace kivo {

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    // A name of its own: untitled, it would carry the program's name, which
    // the program's messages carry.
    setWindowTitle(QStringLiteral("Kivo"));
    setFixedSize(kSize);
    setMask(QRegion(QRect(QPoint(0, 0), kSize), QRegion::Ellipse));
    // One tick: a program at rest does not wake for a window long hidden.
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &QWidget::hide);
    m_timer.start(kPeriodMs);
}

void SplashWindow::ShowCentred()
{
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()).topLeft());
    show();
    raise();
}

void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(127, 255, 127));
    painter.setRenderHint(QPainter::Antialiasing);

    // A thin ring just inside the oval, a play mark and the program's name.
    const QColor ink(0, 96, 48);
    painter.setPen(QPen(ink, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(rect()).adjusted(6, 6, -6, -6));

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawPolygon(QPolygonF({QPointF(44, 44), QPointF(44, 84), QPointF(78, 64)}));

    QFont title = font();
    title.setPixelSize(44);
    title.setBold(true);
    title.setItalic(true);
    painter.setFont(title);
    painter.setPen(ink);
    painter.drawText(QRect(86, 28, 130, 52), Qt::AlignCenter, QStringLiteral("Kivo"));

    QFont version = font();
    version.setPixelSize(13);
    painter.setFont(version);
    painter.drawText(QRect(86, 80, 130, 20), Qt::AlignCenter, QStringLiteral("Version 2.31"));
}

void SplashWindow::mousePressEvent(QMouseEvent* event)
{
    // Qt grabs the mouse for this window while a button is down.
    if (event->button() == Qt::LeftButton)
        m_grab = event->position().toPoint();
}

void SplashWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (m_grab)
        move(pos() + event->position().toPoint() - *m_grab);
}

void SplashWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_grab.reset();
}

void SplashWindow::hideEvent(QHideEvent*)
{
    // Hidden by the timer in the middle of a drag: the drag is over.
    m_grab.reset();
}

}  // namespace kivo
