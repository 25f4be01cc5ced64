#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>

#include <optional>

namespace kivo {

// The oval picture shown above every window at start-up. It hides itself at
// the first tick of its two-second timer and is not shown again; while it is
// up it can be dragged with the left mouse button. Clicks outside the oval
// go to the window below.
class SplashWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize kSize{256, 128};
    static constexpr int kPeriodMs = 2000;

    explicit SplashWindow(QWidget* parent);

    // Shows the window above all others in the middle of the screen.
    void ShowCentred();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer m_timer;
    // Where the left button went down, in client coordinates, while dragging.
    std::optional<QPoint> m_grab;
};

}  // namespace kivo
