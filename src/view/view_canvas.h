// An in-memory 32-bit ARGB image that the map view is composed into. Its
// pixel rows are laid out top-down with no padding, the layout a GDI+ bitmap
// takes over directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Rows of 32-bit pixels owned by someone else (a canvas, or the locked bits
// of a GDI+ bitmap): `stride` pixels from the start of one row to the next.
struct PixelRows {
    std::uint32_t* pixels;
    int width;
    int height;
    std::ptrdiff_t stride;

    std::uint32_t* row(long long y) const { return pixels + y * stride; }
};

struct ViewCanvas {
    ViewCanvas(int width, int height);

    // Paints the part of the rectangle that lies on the canvas; the rest,
    // negative coordinates included, is ignored.
    void fillRect(long long x, long long y, long long w, long long h, std::uint32_t argb);

    std::uint32_t pixel(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    PixelRows rows() { return {pixels.data(), width, height, width}; }

    int width;
    int height;
    std::vector<std::uint32_t> pixels;
};
