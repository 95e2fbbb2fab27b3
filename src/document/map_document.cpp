#include "document/map_document.h"

#include <algorithm>

MapDocument currentMap;

bool isAcceptedGridSize(int width, int height) {
    if (width <= 0 || height <= 0 || height > MAX_GRID_ROWS) return false;
    return static_cast<long long>(width) * height <= MAX_GRID_CELLS;
}

std::pair<int, int> MapDocument::gridSize() const {
    return {static_cast<int>(cells.at(0).size()), static_cast<int>(cells.size())};
}

CellGrid MapDocument::copyCells() const { return cells; }

void MapDocument::setCell(int x, int y, std::uint8_t value) { cells[y][x] = value; }

// All or nothing: everything that allocates (wider rows, new rows) comes
// first and is undone if an allocation fails; what only frees (narrower
// rows, fewer rows) comes last and cannot fail.
void MapDocument::resizeGrid(int width, int height) {
    if (!isAcceptedGridSize(width, height)) return;
    const size_t newWidth = static_cast<size_t>(width), newHeight = static_cast<size_t>(height);
    const size_t oldWidth = cells.at(0).size();
    const size_t keptRows = std::min(cells.size(), newHeight);
    size_t widened = 0;
    try {
        for (; newWidth > oldWidth && widened < keptRows; ++widened)
            cells[widened].resize(newWidth, 0);
        if (newHeight > cells.size()) cells.resize(newHeight, CellRow(newWidth, 0));
    } catch (...) {
        for (size_t y = 0; y < widened; ++y) cells[y].resize(oldWidth);
        throw;
    }
    cells.resize(newHeight);
    for (CellRow& row : cells) row.resize(newWidth);
}

void MapDocument::setMapName(std::string newName) { name = std::move(newName); }

std::string MapDocument::copyMapName() const { return name; }

void MapDocument::applyThresholds(std::int32_t newRank1, std::int32_t newRank2,
                                  std::int32_t newRate1, std::int32_t newRate2) {
    rank1 = newRank1;
    if (isRank2InOrder(newRank1, newRank2)) rank2 = newRank2;
    rate1 = newRate1;
    if (isRate2InOrder(newRate1, newRate2)) rate2 = newRate2;
}

bool operator==(const MapDocument& a, const MapDocument& b) {
    return a.name == b.name && a.cells == b.cells && a.rank1 == b.rank1 && a.rank2 == b.rank2 &&
           a.rate1 == b.rate1 && a.rate2 == b.rate2;
}
