#include "PlayerWindow.h"

#include "app/Settings.h"

#include <QPainter>

namespace kivo {

PlayerWindow::PlayerWindow(Settings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_settings(settings)
{
    // The video sink draws straight into this window's own native window.
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kDefaultClientSize);
    m_engine.m_bAutoRewind = settings.Get(setting::kAutoRewind) != 0;
    m_engine.m_bRepeat = settings.Get(setting::kRepeat) != 0;
    m_engine.m_bAutoSize = settings.Get(setting::kZoom) != 0;
    m_engine.SetWindowHandle(winId());
}

PlayerWindow::~PlayerWindow()
{
    m_engine.Close();
    m_settings.Set(setting::kAutoRewind, m_engine.m_bAutoRewind ? 1 : 0);
    m_settings.Set(setting::kRepeat, m_engine.m_bRepeat ? 1 : 0);
    m_settings.Set(setting::kZoom, m_engine.m_bAutoSize ? 1 : 0);
}

void PlayerWindow::paintEvent(QPaintEvent*)
{
    // The background around the picture is black.
    QPainter(this).fillRect(rect(), Qt::black);
}

}  // namespace kivo
