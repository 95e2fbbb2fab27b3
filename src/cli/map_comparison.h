// What `kalmia-cli diff` finds about two maps, and the comparison of one cell
// that both the report and the difference picture are made of.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/map_document.h"

// One cell of A against the same cell of B. A cell outside a map's size
// counts as clear in it.
enum class CellChange { ClearInBoth, SetInBoth, SetOnlyInA, SetOnlyInB };

// Row y of each map, empty where y is beyond a map's height.
struct RowPair {
    const CellRow& inA;
    const CellRow& inB;
};
RowPair RowsAt(const MapDocument& a, const MapDocument& b, size_t y);

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

MapComparison CompareMaps(const MapDocument& a, const MapDocument& b);
