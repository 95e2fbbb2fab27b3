// The pictures of kalmia-cli: a map as the editor draws its grid, and the
// difference of two maps.
#pragma once

#include <string>

#include "document/map_document.h"
#include "system/failure.h"

// Clear cells white, set cells black, `cellSize` pixels a side, nothing
// around the grid. Each writes the PNG at `path` or fails with the reason.
Result<void> RenderMapPng(const MapDocument& map, int cellSize, const std::string& path);

// B with the changes from A marked: cells set only in B green, cells set only
// in A red, the rest as the editor shows B, and the area outside either
// map's size gray.
Result<void> RenderDifferencePng(const MapDocument& a, const MapDocument& b, int cellSize,
                                 const std::string& path);

// A thumbnail at most `longestSide` pixels on its longer side: whole pixels
// per cell where the map fits, else one pixel per square of cells, dark
// where any of them is set. Composed a pixel row at a time; the cells are
// visited once, and their set ones counted on the way.
struct Thumbnail {
    int width = 0, height = 0;  // in pixels
    long long setCells = 0;
};
Result<void> RenderThumbnailPng(const MapDocument& map, int longestSide, const std::string& path,
                                Thumbnail& made);
