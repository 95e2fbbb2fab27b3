#include "view/view_canvas.h"

#include <algorithm>

ViewCanvas::ViewCanvas(int w, int h)
    : width(std::max(w, 0)),
      height(std::max(h, 0)),
      pixels(static_cast<size_t>(width) * static_cast<size_t>(height)) {}

void ViewCanvas::fillRect(long long x, long long y, long long w, long long h, std::uint32_t argb) {
    const long long left = std::max(x, 0LL), right = std::min(x + w, (long long)width);
    const long long top = std::max(y, 0LL), bottom = std::min(y + h, (long long)height);
    if (left >= right || top >= bottom) return;
    for (long long row = top; row < bottom; ++row) {
        auto start = pixels.begin() + static_cast<long long>(row * width + left);
        std::fill(start, start + (right - left), argb);
    }
}
