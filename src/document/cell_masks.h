// Cells and sets of changed cells: a cell's position, a rectangle of cells,
// and the XOR masks of changed 64 × 64 blocks (one bit a cell) that undo,
// the shapes and the overview share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "document/map_document.h"

struct CellPosition {
    int x;
    int y;
    bool operator==(const CellPosition& other) const { return x == other.x && y == other.y; }
};

constexpr int MASK_BLOCK_CELLS = 64;  // the edge of a block, in cells

// A rectangle of cells, both corners included.
struct CellArea {
    int left = 0, top = 0, right = -1, bottom = -1;
    bool empty() const { return right < left || bottom < top; }
};

// Changed cells, block by block. While a step is recorded, `blockAt` finds a
// block's masks; a finished step drops it and keeps the blocks in row order.
struct CellMasks {
    std::vector<std::uint64_t> blockKeys;  // (block row << 32) | block column
    std::vector<std::uint64_t> rows;       // 64 words a block; bit x of word y is cell (x, y)
    std::unordered_map<std::uint64_t, std::uint32_t> blockAt;
    std::uint32_t lastBlock = 0;  // the block the last change went to
    CellArea area;                // the changed cells' bounds, once finished
};

// A block of the masks, from its key: its column and row counted in blocks.
struct MaskBlock {
    std::uint32_t column, row;
    int left() const { return static_cast<int>(column) * MASK_BLOCK_CELLS; }
    int top() const { return static_cast<int>(row) * MASK_BLOCK_CELLS; }
};
inline MaskBlock BlockOfKey(std::uint64_t key) {
    return {static_cast<std::uint32_t>(key & 0xFFFFFFFF), static_cast<std::uint32_t>(key >> 32)};
}

// Records that cell (x, y) changed; a second change of the same cell takes
// the first back.
void FlipCell(CellMasks& masks, int x, int y);

// The same for the cells of row y in the block column blockColumn whose
// bits are set in `bits` (bit i: column blockColumn × 64 + i).
void FlipCells(CellMasks& masks, int blockColumn, int y, std::uint64_t bits);

// The recorded bits of row y in the block column (bit i: column
// blockColumn × 64 + i), while a step is recorded; 0 where none changed.
std::uint64_t RecordedCells(const CellMasks& masks, int blockColumn, int y);

// Adds the changes of `from` to `into` (a cell changed in both is changed
// back).
void MergeMasks(CellMasks& into, const CellMasks& from);

// Sorts the blocks, drops empty ones and the lookup, and sets `area`.
void FinishMasks(CellMasks& masks);

// Flips every recorded cell of `cells`. The masks must lie within the grid.
void ApplyMasks(const CellMasks& masks, CellGrid& cells);

// The set cells of `cells` outside the first width columns and height rows.
CellMasks DroppedCells(const CellGrid& cells, int width, int height);
