#include "session/WindowPlacement.h"

#include <algorithm>

namespace kivo {

QRect FitOnScreen(const QRect& wanted, const QRect& available)
{
    QRect placed(wanted.topLeft(), wanted.size().boundedTo(available.size()));
    placed.moveLeft(std::clamp(placed.left(), available.left(), available.left() + available.width() - placed.width()));
    placed.moveTop(std::clamp(placed.top(), available.top(), available.top() + available.height() - placed.height()));
    return placed;
}

QRect CentreOver(const QSize& size, const QRect& over, const QRect& available)
{
    QRect wanted(QPoint(), size);
    wanted.moveCenter(over.center());
    return FitOnScreen(wanted, available);
}

}  // namespace kivo
