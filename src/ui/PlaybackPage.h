#pragma once

#include "session/ObjectProperties.h"
#include "session/PlaybackArithmetic.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QLineEdit;
class QSlider;
class QToolButton;

namespace kivo {

// Where the playback page's levels go at once: the main window's bars.
// Volume on their 0 loud ... 100 silent scale, speed in hundredths.
struct LevelControls {
    std::function<void(int balance)> setBalance;
    std::function<void(int volume)> setVolume;
    // True when the speed is in force.
    std::function<bool(int speed)> setSpeed;
};

// The playback page: volume, balance and speed act at once through the
// main window (none for a sheet without one); the four switches only
// through the sheet's OK.
class PlaybackPage : public QWidget {
    Q_OBJECT

public:
    PlaybackPage(const PlaybackOptions& options, const PlaybackLevels& levels, LevelControls controls,
                 QWidget* parent = nullptr);

    PlaybackOptions Options() const;
    // The speed shown; the page may only be left while it lies between
    // 0.01 and 4. Without media there is no speed to keep in range.
    bool SpeedIsValid() const;
    // Says that the speed is out of range, with this page as owner.
    void ReportInvalidSpeed();

    double Speed() const { return m_dSpeed; }
    SpeedIcon ShownSpeedIcon() const { return m_speedIcon; }

private:
    void ApplySpeed(int speed);
    void SetNormalSpeed();
    void ShowSpeedIcon(SpeedIcon icon);

    LevelControls m_controls;
    QSlider* m_sldVolume = nullptr;
    QSlider* m_sldBalance = nullptr;
    QSlider* m_sldSpeed = nullptr;
    QLineEdit* m_edSpeed = nullptr;
    QToolButton* m_btnSpeedIcon = nullptr;
    QCheckBox* m_chkAutoSize = nullptr;
    QCheckBox* m_chkRepeat = nullptr;
    QCheckBox* m_chkAutoRewind = nullptr;
    QCheckBox* m_chkStretch = nullptr;
    bool m_bHasMedia = false;
    double m_dSpeed = 0.0;
    SpeedIcon m_speedIcon = SpeedIcon::Normal;
};

}  // namespace kivo
