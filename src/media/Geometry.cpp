#include "media/Geometry.h"

namespace kivo {

EdgeRect FitRect(int width, int height, EdgeRect rect, bool centre)
{
    if (width == 0 || height == 0)
        return rect;
    const int outerWidth = rect.Width();
    const int outerHeight = rect.Height();
    const double scaleX = static_cast<double>(outerWidth) / width;
    const double scaleY = static_cast<double>(outerHeight) / height;
    if (scaleX < scaleY)
        rect.bottom = rect.top + static_cast<int>(height * scaleX);
    else
        rect.right = rect.left + static_cast<int>(width * scaleY);
    if (centre) {
        const int dx = (outerWidth - rect.Width()) / 2;
        const int dy = (outerHeight - rect.Height()) / 2;
        rect.left += dx;
        rect.right += dx;
        rect.top += dy;
        rect.bottom += dy;
    }
    return rect;
}

}  // namespace kivo
