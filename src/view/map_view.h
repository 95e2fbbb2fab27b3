// Composes the main window's picture: the grid at 8 × 8 pixels per cell,
// white for a clear cell, black for a set one, on a gray background, shifted
// by the scroll positions (in cells).
#pragma once

#include <cstdint>

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
