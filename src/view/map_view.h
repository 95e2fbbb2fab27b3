// Composes the main window's picture: the grid at 8 × 8 pixels per cell,
// white for a clear cell, black for a set one, on a gray background, shifted
// by the scroll positions (in cells).
#pragma once

#include <cstdint>

#include "document/cell_shapes.h"
#include "document/map_document.h"
#include "view/view_canvas.h"

// The edge of one cell on the screen, in pixels: the view draws at this
// size, and the scroll bars and the mouse count in cells of it.
constexpr int CELL_SIZE = 8;

constexpr std::uint32_t BACKGROUND_COLOR = 0xFF808080;
constexpr std::uint32_t CLEAR_CELL_COLOR = 0xFFFFFFFF;
constexpr std::uint32_t SET_CELL_COLOR = 0xFF000000;

// Draws the whole canvas (its own width and height are the client size).
// Only the rows and cells that intersect the canvas are visited, so the cost
// follows the client area, not the size of the grid.
void DrawMapView(const PixelRows& target, int horizontalPosition, int verticalPosition,
                 const CellGrid& grid);
void DrawMapView(ViewCanvas& canvas, int horizontalPosition, int verticalPosition,
                 const CellGrid& grid);

// Previews of a shape being dragged, drawn over the cells.
constexpr std::uint32_t PREVIEW_SET_COLOR = 0xFF2060D0;    // blue: the cells will be set
constexpr std::uint32_t PREVIEW_CLEAR_COLOR = 0xFFF0A0A0;  // pink: the cells will be cleared

// The line or the filled rectangle of cells from `from` to `to`, as a tool
// would apply it with `value`.
struct ShapeOverlay {
    enum class Kind { None, Line, Rectangle } kind = Kind::None;
    CellPosition from{0, 0}, to{0, 0};
    std::uint8_t value = 1;
};

// Draws the shape's cells that lie on the grid and in view over a picture
// that DrawMapView made. The cost follows the shape's cells in view (a line
// is walked cell by cell), never the size of the grid.
void DrawShapeOverlay(const PixelRows& target, int horizontalPosition, int verticalPosition,
                      const ShapeOverlay& overlay, const MapDocument& document);
