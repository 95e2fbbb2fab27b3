// What `kalmia-cli diff` finds about two maps, and the comparison of one cell
// that both the report and the difference picture are made of. The maps are
// compared a row at a time as their grid files are read, never whole.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/map_parameters.h"

// One cell of A against the same cell of B. A cell outside a map's size
// counts as clear in it.
enum class CellChange { ClearInBoth, SetInBoth, SetOnlyInA, SetOnlyInB };

// Row y of each map as an Open reads it: its cells as bytes of 0 and 1, none
// (width 0) where y is beyond a map's height.
struct RowPair {
    const std::uint8_t* inA = nullptr;
    size_t widthA = 0;
    const std::uint8_t* inB = nullptr;
    size_t widthB = 0;
};

CellChange ChangeAt(const RowPair& rows, size_t x);

struct CellBox {
    int x, y, width, height;
};

struct NumberChange {
    const char* name;  // "width", "height", "rank1", ...
    long long a, b;
};

struct MapComparison {
    bool same = true;
    std::optional<std::pair<std::string, std::string>> names;  // ANSI code page; when they differ
    std::vector<NumberChange> numbers;  // the size and thresholds that differ
    long long setOnlyInA = 0;
    long long setOnlyInB = 0;
    std::optional<CellBox> changedCells;  // the smallest box around every changed cell
};

// The name, size and thresholds of two maps as the editor holds them.
void CompareParameters(const MapParameters& a, const MapParameters& b, MapComparison& comparison);

// Adds the changed cells of row y; `same` follows every row and parameter.
void CompareRows(const RowPair& rows, int y, MapComparison& comparison);
