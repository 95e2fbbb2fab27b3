// Reading and filling a canvas pixel by pixel, for the tests and for the
// literal renderer they compare the real one with.
#pragma once

#include <algorithm>
#include <cstdint>

#include "view/view_canvas.h"

inline std::uint32_t pixelAt(const ViewCanvas& canvas, int x, int y) {
    return canvas.pixels[static_cast<size_t>(y) * canvas.width + x];
}

// Paints the part of the rectangle that lies on the canvas; the rest,
// negative coordinates included, is ignored.
inline void fillRect(ViewCanvas& canvas, long long x, long long y, long long w, long long h,
                     std::uint32_t argb) {
    const long long left = std::max(x, 0LL), right = std::min(x + w, (long long)canvas.width);
    const long long top = std::max(y, 0LL), bottom = std::min(y + h, (long long)canvas.height);
    for (long long row = top; row < bottom && left < right; ++row) {
        auto start = canvas.pixels.begin() + static_cast<long long>(row * canvas.width + left);
        std::fill(start, start + (right - left), argb);
    }
}
