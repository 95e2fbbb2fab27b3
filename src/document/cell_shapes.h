// The shapes the drawing tools put on the map: the straight line of cells
// (the rule the pen also follows between two pointer positions), the filled
// rectangle between two corners, and the region a fill reaches. Each changes
// the map and records every cell it changed, for undo.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "document/cell_masks.h"
#include "document/map_document.h"

// Calls visit for every cell of the line from `from` to `to`, both ends
// included, in order (Bresenham): each step moves one cell sideways, up or
// down, or both.
template <typename Visit>
void ForEachLineCell(CellPosition from, const CellPosition& to, Visit visit) {
    const long long dx = std::llabs(static_cast<long long>(to.x) - from.x);
    const long long dy = -std::llabs(static_cast<long long>(to.y) - from.y);
    const int stepX = from.x < to.x ? 1 : -1;
    const int stepY = from.y < to.y ? 1 : -1;
    long long error = dx + dy;
    while (true) {
        visit(from);
        if (from == to) return;
        const long long doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            from.x += stepX;
        }
        if (doubled <= dx) {
            error += dx;
            from.y += stepY;
        }
    }
}

bool isCellOnGrid(const CellPosition& cell, const MapDocument& document);

// The rectangle with corners a and b, both included, in any order, clipped
// to the map; empty when it lies wholly outside.
CellArea RectangleWithin(const CellPosition& a, const CellPosition& b, const MapDocument& document);

// Sets (value 1) or clears (0) the cells of the line that lie on the map.
void PaintLine(MapDocument& document, const CellPosition& from, const CellPosition& to,
               std::uint8_t value, CellMasks& changed);

// Sets or clears every cell of the rectangle's part on the map.
void PaintRectangle(MapDocument& document, const CellPosition& a, const CellPosition& b,
                    std::uint8_t value, CellMasks& changed);

// The most row segments a fill keeps waiting (12 bytes each): 12 MB.
constexpr std::size_t FILL_PENDING_SEGMENTS = 1 << 20;

// Gives `value` to the region of cells that share the state of `seed` and
// are joined to it through their edges (not their corners). Nothing changes
// when the seed already has `value` or lies off the map. Scanline, without
// recursion: besides the recorded changes (one bit a cell) it keeps only the
// row segments still to visit, at most maxPending of them; past that it
// notes the rows they were on and looks at those again once the rest is
// done. All or nothing: `changed` starts empty, and when memory runs out
// (std::bad_alloc) the map is as it was and `changed` empty again.
void FillRegion(MapDocument& document, const CellPosition& seed, std::uint8_t value,
                CellMasks& changed, std::size_t maxPending = FILL_PENDING_SEGMENTS);
