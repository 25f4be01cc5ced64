#pragma once

#include <QString>

namespace kivo {

// The state of a media object, shown as the text of its list column 2 and,
// in the details and list modes, as its state image (the number is the
// image's).
enum class ObjectState {
    Invalid = 0,
    Standby = 1,
    Playing = 2,
    Paused = 3,
    Stopped = 4,
};

QString StateText(ObjectState state);

}  // namespace kivo
