#pragma once

#include <QString>

namespace kivo {

// The state of a media object is the text of its list column 2; the number
// doubles as its state image.
enum ObjectState {
    OBJSTATE_INVALID = 0,
    OBJSTATE_STANDBY = 1,
    OBJSTATE_PLAYING = 2,
    OBJSTATE_PAUSED = 3,
    OBJSTATE_STOPPED = 4,
};

QString StateText(ObjectState state);

// The state whose text equals `text` exactly; texts of no state count as invalid.
ObjectState StateFromText(const QString& text);

}  // namespace kivo
