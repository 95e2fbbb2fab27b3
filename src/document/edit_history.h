// Undo and redo. A step stores only what it changed: the cells as XOR masks
// of the 64 × 64 blocks that hold a changed cell (one bit a cell), so the
// same masks undo and redo it; a parameter change its values before and
// after, and the set cells that a smaller size dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "document/map_document.h"

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

// What the parameter dialog changes, as stored in the document.
struct MapParameters {
    std::string name;
    std::int32_t rank1 = 0, rank2 = 0, rate1 = 0, rate2 = 0;
    int width = 0, height = 0;
    bool operator==(const MapParameters& other) const;
};
MapParameters ParametersOf(const MapDocument& document);

struct ParameterChange {
    MapParameters before, after;
    CellMasks dropped;  // set cells that the new size dropped, where they were
};

struct EditStep {
    CellMasks cells;                            // cells changed in place
    std::optional<ParameterChange> parameters;  // a change from the parameter dialog
};

std::size_t StepBytes(const EditStep& step);

constexpr std::size_t DEFAULT_HISTORY_BYTES = 256u << 20;

struct EditHistory {
    std::deque<EditStep> steps;
    std::size_t done = 0;  // steps[0, done) can be undone, steps[done, end) redone
    std::size_t bytes = 0;
    std::size_t capacity = DEFAULT_HISTORY_BYTES;
};

// The history of the one document (currentMap).
extern EditHistory editHistory;

// Adds a finished step: the steps that could be redone are gone, and the
// oldest steps go while the history holds more than its capacity. A step
// with nothing in it is not recorded.
void RecordStep(EditHistory& history, EditStep step);

bool CanUndo(const EditHistory& history);
bool CanRedo(const EditHistory& history);

// Takes the last step back, or does the next one again, on `document`; the
// cells the step changed (for a parameter change, the whole map), or nullopt
// when there was no step. Leaves document and history as they were when
// memory runs out (std::bad_alloc).
std::optional<CellArea> Undo(EditHistory& history, MapDocument& document);
std::optional<CellArea> Redo(EditHistory& history, MapDocument& document);

// New and Open: the map is another one, and nothing can be undone.
void ClearHistory(EditHistory& history);
