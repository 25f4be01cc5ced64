#pragma once

#include "MediaEngine.h"

#include <QWidget>

namespace kivo {

class Settings;

// The player window: one media engine whose video is drawn inside it. It
// starts hidden with a 352 x 240 client area, takes the options AutoRewind,
// Repeat and Zoom from the profile when it is made and writes them back
// when it goes.
class PlayerWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize kDefaultClientSize{352, 240};

    PlayerWindow(Settings& settings, QWidget* parent = nullptr);
    ~PlayerWindow() override;

    MediaEngine& Engine() { return m_engine; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Settings& m_settings;
    MediaEngine m_engine;
};

}  // namespace kivo
