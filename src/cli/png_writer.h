// Writing a PNG one pixel row at a time, through libpng, so that a picture
// never has to be held whole in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "system/failure.h"

enum class PngPixels {
    BlackOrWhite,  // one bit per pixel: 0 black, 1 white
    Rgb,           // three bytes per pixel
};

// Fills the bytes of pixel row y (packed as the pixel format says). The row
// holds the bytes of row y - 1 when called, so a row that repeats the one
// above need not be touched.
using PngRowSource = std::function<void(std::uint32_t y, std::vector<std::uint8_t>& row)>;

// The largest width or height a PNG can have.
constexpr std::uint64_t MAX_PNG_SIDE = 0x7FFFFFFF;

// Writes the picture, or fails with the reason and leaves no file. The bytes
// depend on the pixels only (no time stamp), so every run gives the same file.
Result<void> WritePng(const std::string& path, std::uint32_t width, std::uint32_t height,
                      PngPixels pixels, const PngRowSource& fillRow);
