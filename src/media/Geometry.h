#pragma once

namespace kivo {

// The part of `rect` that a picture of width x height fills with its aspect
// ratio kept: the side that limits the scale is kept, the other shortened
// (lengths truncated toward zero); with `centre` the result is centred in
// `rect`. A zero width or height leaves `rect` as it is. Rectangles are
// left, top, right, bottom with the right and bottom edges excluded.
struct EdgeRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const EdgeRect&, const EdgeRect&) = default;
};

EdgeRect FitRect(int width, int height, EdgeRect rect, bool centre);

}  // namespace kivo
