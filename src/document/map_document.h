// The one stage map that the editor works on, and the operations every other
// module uses to read and change it.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <utility>

// One byte per cell: 0 clear, 1 set. Rows are addressed first (row y, column x).
using CellRow = std::deque<std::uint8_t>;
using CellGrid = std::deque<CellRow>;

constexpr int DEFAULT_GRID_SIZE = 50;
constexpr int DEFAULT_TIME_THRESHOLD = 999;
constexpr int DEFAULT_RATE_THRESHOLD = 100;

// Largest width × height the editor accepts. A mistyped size or a damaged file
// must not be able to exhaust memory and take the unsaved map down with it;
// 100,000,000 one-byte cells (a 10000 × 10000 map) is far beyond any real stage.
constexpr long long MAX_GRID_CELLS = 100'000'000;

// More rows than this are refused as well: every row costs a few hundred
// bytes of bookkeeping even when it holds no cell, so a map one cell wide
// could otherwise exhaust memory within MAX_GRID_CELLS.
constexpr int MAX_GRID_ROWS = 100'000;

// True when a grid of width × height cells may be stored: both at least 1,
// height within MAX_GRID_ROWS and the product within MAX_GRID_CELLS
// (computed in 64 bits, so it cannot overflow).
bool isAcceptedGridSize(int width, int height);

// The thresholds' ordering rule: rank2 (time A/B) is not below rank1 (time
// S/A), and rate2 (rate A/B) is not above rate1 (rate S/A).
inline bool isRank2InOrder(std::int32_t rank1, std::int32_t rank2) { return rank2 >= rank1; }
inline bool isRate2InOrder(std::int32_t rate1, std::int32_t rate2) { return rate2 <= rate1; }

struct MapDocument {
    std::string name;
    CellGrid cells = CellGrid(DEFAULT_GRID_SIZE, CellRow(DEFAULT_GRID_SIZE, 0));
    std::int32_t rank1 = DEFAULT_TIME_THRESHOLD;
    std::int32_t rank2 = DEFAULT_TIME_THRESHOLD;
    std::int32_t rate1 = DEFAULT_RATE_THRESHOLD;
    std::int32_t rate2 = DEFAULT_RATE_THRESHOLD;

    // (cells in the first row, number of rows). Requires a first row.
    std::pair<int, int> gridSize() const;
    CellGrid copyCells() const;
    // The caller guarantees 0 <= x < width and 0 <= y < height.
    void setCell(int x, int y, std::uint8_t value);
    // Keeps the overlap of old and new size; refuses sizes below 1 or beyond
    // MAX_GRID_CELLS without any change, and changes nothing when memory runs
    // out (std::bad_alloc).
    void resizeGrid(int width, int height);
    void setMapName(std::string newName);
    std::string copyMapName() const;
    // rank1 and rate1 are always stored; rank2 only if rank2 >= rank1 and rate2
    // only if rate2 <= rate1, otherwise the old value stays.
    void applyThresholds(std::int32_t newRank1, std::int32_t newRank2, std::int32_t newRate1,
                         std::int32_t newRate2);
};

bool operator==(const MapDocument& a, const MapDocument& b);

extern MapDocument currentMap;
