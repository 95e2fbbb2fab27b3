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

    PixelRows rows() { return {pixels.data(), width, height, width}; }

    int width;
    int height;
    std::vector<std::uint32_t> pixels;
};
