// The pictures of kalmia-cli: a map as the editor draws its grid, and the
// difference of two maps.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "cli/map_comparison.h"
#include "document/map_document.h"
#include "document/map_parameters.h"
#include "system/failure.h"

// The next row of cells of a map (bytes of 0 and 1), in order from the
// top, or nullptr where it could not be read.
using CellRowSource = std::function<const std::uint8_t*()>;

// Clear cells white, set cells black, `cellSize` pixels a side, nothing
// around the grid: a 1-bit PNG written a row at a time as `nextRow` gives
// the cells. Writes the PNG at `path` or fails with the reason.
Result<void> WriteMapPng(int columns, int rows, int cellSize, const std::string& path,
                         const CellRowSource& nextRow);

// The next rows of two maps, or nothing where they could not be read.
using RowPairSource = std::function<std::optional<RowPair>()>;

// B with the changes from A marked: cells set only in B green, cells set only
// in A red, the rest as the editor shows B, and the area outside either
// map's size gray; a palette PNG written a row at a time.
struct DifferencePicture {
    DifferencePicture(const MapParameters& a, const MapParameters& b, int cellSize);
    Result<void> write(const std::string& path, const RowPairSource& nextRows);
    // The pixel row of cell row `cellRow`, bits() a pixel.
    void composeRow(const RowPair& pair, int cellRow, std::vector<std::uint8_t>& row) const;
    int bits() const;

    int cellSize, columns, rows, commonColumns, commonRows;
};

// A thumbnail at most `longestSide` pixels on its longer side: whole pixels
// per cell where the map fits, else one pixel per square of cells, dark
// where any of them is set. Composed a pixel row at a time as `nextRow`
// gives the cells, which are visited once and their set ones counted.
struct Thumbnail {
    int width = 0, height = 0;  // in pixels
    long long setCells = 0;
};
Result<void> RenderThumbnailPng(int columns, int rows, int longestSide, const std::string& path,
                                const CellRowSource& nextRow, Thumbnail& made);
