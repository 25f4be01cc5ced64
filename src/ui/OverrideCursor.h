#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace kivo {

// The application's cursor for the length of a scope: the wait cursor for
// work that keeps the window busy, the busy cursor when the user may still
// click "ｷｬﾝｾﾙ".
class OverrideCursor {
public:
    explicit OverrideCursor(Qt::CursorShape shape) { QGuiApplication::setOverrideCursor(shape); }
    ~OverrideCursor() { QGuiApplication::restoreOverrideCursor(); }
    OverrideCursor(const OverrideCursor&) = delete;
    OverrideCursor& operator=(const OverrideCursor&) = delete;
};

}  // namespace kivo
