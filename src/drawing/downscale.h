// Pictures of a whole map smaller than the map: the overview, the gallery's
// thumbnails, a view zoomed out. One rule for them all: a pixel stands for
// a square of cells and is dark where any cell it covers is set.
#pragma once

#include <cstdint>

#include "document/map_document.h"

// One pixel per square of cellsPerPixel × cellsPerPixel cells (a map larger
// than the space), or pixelsPerCell × pixelsPerCell pixels per cell (a
// smaller one). One of the two is 1.
struct DownScale {
    int cellsPerPixel = 1;
    int pixelsPerCell = 1;
};

// The largest scale at which the whole map fits a space of the given size.
DownScale ScaleToFit(int mapWidth, int mapHeight, int spaceWidth, int spaceHeight);

// Adds the set cells of the first `width` cells of `row` to counts[i], one
// count for each run of cellsPerPixel cells, 64 cells at a time where the
// row lets it; returns how many were set.
long long CountSetCellsByPixel(const CellRow& row, int width, int cellsPerPixel,
                               std::uint32_t* counts);

// The same for a row held as bytes of 0 and 1.
long long CountSetCellsByPixel(const std::uint8_t* row, int width, int cellsPerPixel,
                               std::uint32_t* counts);

// The rule: a pixel is dark where any cell it covers is set.
inline bool IsDarkPixel(std::uint32_t setCellsCovered) { return setCellsCovered > 0; }
