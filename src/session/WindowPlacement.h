#pragma once

#include <QRect>

namespace kivo {

// Where a window goes to be seen whole: `wanted` (its frame) moved into
// `available` (the free area of a screen) as little as needed, and made
// smaller where it is larger than that area.
QRect FitOnScreen(const QRect& wanted, const QRect& available);

// A window of `size` (its frame) centred on `over` (the frame of the window
// it belongs to), then fitted into `available` as FitOnScreen does.
QRect CentreOver(const QSize& size, const QRect& over, const QRect& available);

}  // namespace kivo
