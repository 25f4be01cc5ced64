#pragma once

#include "core/Commands.h"
#include "session/FrameProtocol.h"

#include <QObject>

class QAbstractButton;
class QDockWidget;
class QLabel;
class QLineEdit;
class QMainWindow;
class QSlider;
class QToolButton;

namespace kivo {

class TimeDisplay;

// The main window's three dockable bars: the control bar (transport
// buttons, time display, position slider), the volume bar (balance and
// volume) and the speed bar (speed slider, read-out and icon). They show
// what the frame protocol tells them and report the user's actions.
class ControlBars : public QObject, public FrameBars {
    Q_OBJECT

public:
    explicit ControlBars(QMainWindow& window);

    QDockWidget* ControlBar() const { return m_controlBar; }
    QDockWidget* VolumeBar() const { return m_volumeBar; }
    QDockWidget* SpeedBar() const { return m_speedBar; }
    int VolumePosition() const;

    void MovePositionSlider(int position) override;
    void SetPositionRange(int maximum) override;
    void EnablePositionSlider(bool enable) override;
    void ShowFirstSlot(FirstSlot shown) override;
    void ShowSecondSlot(SecondSlot shown) override;
    void DrawTime(int position) override;
    void ShowIdleMessage() override { emit idleMessageWanted(); }
    void MoveBalanceSlider(int balance) override;
    void MoveVolumeSlider(int volume) override;
    void MoveSpeedSlider(int speed) override;
    void ShowSpeedReadout(const QString& text) override;
    void ShowSpeedIcon(SpeedIcon icon) override;
    void EnableSoundSliders(bool enable) override;

signals:
    // A transport button or the speed icon was clicked.
    void commandRequested(Command command);
    void sliderMoved(FrameProtocol::Slider slider, int position);
    void positionSliderReleased();
    void idleMessageWanted();

private:
    QDockWidget* MakeBar(QMainWindow& window, const QString& title, const QString& name, QWidget* content,
                         Qt::DockWidgetAreas areas);
    QWidget* MakeControlBar();
    QWidget* MakeVolumeBar();
    QWidget* MakeSpeedBar();
    QToolButton* MakeTransportButton(Command command);

    FirstSlot m_firstSlot = FirstSlot::GreyedPlay;
    QToolButton* m_firstButton = nullptr;
    QToolButton* m_secondButton = nullptr;
    TimeDisplay* m_time = nullptr;
    QSlider* m_position = nullptr;
    // Set while the program moves the position slider, which is no seek.
    bool m_movingPosition = false;
    QSlider* m_balance = nullptr;
    QSlider* m_volume = nullptr;
    QSlider* m_speed = nullptr;
    QLineEdit* m_speedReadout = nullptr;
    QToolButton* m_speedIcon = nullptr;
    QDockWidget* m_controlBar;
    QDockWidget* m_volumeBar;
    QDockWidget* m_speedBar;
};

}  // namespace kivo
