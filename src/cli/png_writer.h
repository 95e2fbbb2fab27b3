// Writing a PNG one pixel row at a time, through libpng, so that a picture
// never has to be held whole in memory.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "system/failure.h"

enum class PngPixels {
    BlackOrWhite,  // one bit per pixel, the first the highest: 0 black, 1 white
    Indexed,       // an entry of the palette: two bits a pixel for up to four colors, else
                   // four; the first pixel in the high bits
};

struct PngColor {
    std::uint8_t red, green, blue;
};

// Fills the bytes of pixel row y (packed as the pixel format says). The row
// holds the bytes of row y - 1 when called, so a row that repeats the one
// above need not be touched. False where the row could not be made (its
// map could not be read): no picture is then put in place.
using PngRowSource = std::function<bool(std::uint32_t y, std::vector<std::uint8_t>& row)>;

// The largest width or height of a PNG written here: libpng's own limit
// for the pictures it writes (PNG_USER_WIDTH_MAX, PNG_USER_HEIGHT_MAX).
constexpr std::uint64_t MAX_PNG_SIDE = 1000000;

// Writes the picture beside `path` and renames it over the file there (a
// symbolic link is replaced, not written through), or fails with the
// reason and leaves any file at `path` as it was; it is not waited for on
// the disk (a picture is made again at will). Rows are compressed for
// speed (zlib's fastest level, runs only, no filter): maps are large and
// mostly runs. The bytes
// depend on the pixels only (no time stamp), so every run gives the same file.
Result<void> WritePng(const std::string& path, std::uint32_t width, std::uint32_t height,
                      PngPixels pixels, const PngRowSource& fillRow,
                      const std::vector<PngColor>& palette = {});
