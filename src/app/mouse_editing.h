// Mouse editing, apart from the platform: the two button flags, the mapping
// from a client point to a cell, and what each mouse event does to the map.
#pragma once

#include <optional>

#include "app/drawing_tools.h"
#include "document/cell_shapes.h"
#include "document/edit_history.h"
#include "document/map_document.h"

// True from a press in the client area until a release reaches it; the mouse
// is not captured, so a release elsewhere leaves the flag set.
extern bool leftButtonDown;
extern bool rightButtonDown;

// The cell under a client point (the 16-bit unsigned coordinates of a mouse
// message) for the given scroll positions.
CellPosition CellFromPoint(unsigned pointX, unsigned pointY, int horizontalPosition,
                           int verticalPosition);

// The cell under a client point given as signed coordinates, for a drag
// with the mouse captured, which may end left of or above the window.
CellPosition CellFromSignedPoint(int pointX, int pointY, int horizontalPosition,
                                 int verticalPosition);

// A stroke of the pen in progress: the cell of the previous pointer event in
// the client area, if the stroke can continue from there, and the cells the
// stroke changed from its press on.
struct StrokeState {
    std::optional<CellPosition> previousCell;
    CellMasks cells;
};

// What the editor keeps for editing the map, apart from the platform: the
// history for undo, the tool, and the stroke in progress.
struct EditingState {
    EditHistory history;
    ToolState tools;
    StrokeState stroke;
};

// Applies one mouse event at `cell` to `document`. While one button is held,
// a move paints every cell on the straight line from the previous pointer
// position, so a quick stroke leaves no gaps; a press or the pointer leaving
// the window starts the line afresh. A stroke, from a press to a release, is
// one step of the history with every cell it changed. With another tool than
// the pen, the event goes to that tool (app/drawing_tools.h).
EditOutcome HandleMouseEvent(MouseEvent event, const CellPosition& cell, MapDocument& document,
                             EditingState& editing);

// Ends the stroke in progress, if any, as a step of the history, and
// cancels a line or rectangle being dragged: before an undo, or before the
// map is replaced or resized, so that no step ever mixes two maps.
void FinishStroke(EditingState& editing);

// The next move paints only its own cell: the previous pointer position no
// longer names the same place of the map (the view scrolled, or the map was
// replaced or resized).
void RestartStroke(StrokeState& stroke);
