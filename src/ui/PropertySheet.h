#pragma once

#include "session/ObjectProperties.h"
#include "ui/PlaybackPage.h"

#include <QDialog>

#include <functional>

class QTabWidget;

namespace kivo {

class CMediaInfoCache;
class CutListModel;
class MediaEngine;

// The property sheet "ﾌﾟﾛﾊﾟﾃｨ": the pages "ﾒﾃﾞｨｱ", "ﾌﾟﾚｲﾔ" and "ﾌﾟﾚｲﾊﾞｯｸ"
// that `properties` asks for, with OK and Cancel. The player page opens
// the property dialog of the engine's elements.
class PropertySheet : public QDialog {
    Q_OBJECT

public:
    PropertySheet(const ObjectProperties& properties, MediaEngine& engine, LevelControls levels,
                  QWidget* parent = nullptr);

    // The switches of the playback page (as they came in when it is not shown).
    PlaybackOptions Options() const;
    QTabWidget* Tabs() const { return m_tabs; }
    // Null when the page is not shown.
    PlaybackPage* Playback() const { return m_playback; }

    void accept() override;

private:
    void OnPageChanged(int index);

    QTabWidget* m_tabs = nullptr;
    PlaybackPage* m_playback = nullptr;
    PlaybackOptions m_options;
    int m_shownPage = -1;
};

// What showing the properties of an object takes.
struct PropertiesContext {
    const CutListModel& list;
    CMediaInfoCache& cache;
    MediaEngine& engine;
    int menuItem = -1;       // list position the item menu was opened on; -1 from the player
    bool bPlayback = false;  // the playback page in front
    LevelControls levels;               // the playback page's sliders act through these
    std::function<void()> layoutVideo;  // lays the player's video out again
};

// Shows the properties of the object the context names in a modal property
// sheet owned by `owner` and, on OK, hands the playback switches back to
// the engine. Volume, balance and speed act at once and stay on Cancel.
void ShowProperties(const PropertiesContext& context, QWidget* owner);

}  // namespace kivo
