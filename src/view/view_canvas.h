// An in-memory 32-bit ARGB image that the map view is composed into. Its
// pixel rows are laid out top-down with no padding, the layout a GDI+ bitmap
// takes over directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct ViewCanvas {
    ViewCanvas(int width, int height);

    // Paints the part of the rectangle that lies on the canvas; the rest,
    // negative coordinates included, is ignored.
    void fillRect(long long x, long long y, long long w, long long h, std::uint32_t argb);

    std::uint32_t pixel(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

    int width;
    int height;
    std::vector<std::uint32_t> pixels;
};
