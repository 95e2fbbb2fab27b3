// The overview: the whole map scaled to fit a window of its own, a pixel
// dark where any cell it covers is set, with the main view's visible area
// outlined. It keeps a count of set cells per block of cells that one pixel
// covers, so that an edit updates the counts of the cells it changed and
// never has the map scanned again.
#pragma once

#include <cstdint>
#include <vector>

#include "document/cell_shapes.h"
#include "document/edit_history.h"
#include "drawing/downscale.h"
#include "view/view_canvas.h"

constexpr std::uint32_t OVERVIEW_OUTLINE_COLOR = 0xFFE02020;

struct OverviewCounts {
    int mapWidth = 0, mapHeight = 0;
    DownScale scale;                      // the whole map fits the window
    int columns = 0, rows = 0;            // blocks across and down
    std::vector<std::uint32_t> setCells;  // per block, row by row
};

// Counts the whole map for a client area of the given size.
void CountOverview(OverviewCounts& overview, const CellGrid& cells, int clientWidth,
                   int clientHeight);

// Follows cells that changed: `flipped` names them (the masks of an edit),
// `cells` holds their new states.
void NoteFlippedCells(OverviewCounts& overview, const CellMasks& flipped, const CellGrid& cells);

// Draws the overview at the canvas's top left, gray around it, and the
// outline of the cells `visible` (the main view's area), cut to the map.
void DrawOverview(const PixelRows& target, const OverviewCounts& overview, const CellArea& visible);

// The cell under an overview pixel, the nearest cell of the map for a point
// beside it.
CellPosition OverviewCellAt(const OverviewCounts& overview, int pointX, int pointY);
