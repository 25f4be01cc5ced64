#pragma once

namespace kivo {

// What the player is doing with the list's current object, as the main
// window's bars show it. The values are those the bars were always told.
enum class PlayState {
    Empty = 0,    // no object is open
    Stopped = 1,  // open and still, at its start or where a stop left it
    Paused = 2,
    Playing = 3,
};

// Where the current object stands in the cut list (`index` is -1 without
// one), and whether the list repeats.
struct ListPosition {
    int count = 0;
    int index = -1;
    bool repeats = false;  // after the last object the first plays on
};

}  // namespace kivo
