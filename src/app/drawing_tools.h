// The drawing tools besides the pen, apart from the platform: the line and
// the rectangle, dragged from a press to a release with a preview, and the
// fill, one click. The left button sets cells, the right one clears them;
// each use is one undo step.
#pragma once

#include "document/cell_shapes.h"
#include "document/edit_history.h"
#include "view/map_view.h"

enum class Tool { Pen, Line, Rectangle, Fill };

// The tool the mouse works with; the pen at start.
extern Tool currentTool;

enum class MouseEvent { LeftDown, LeftUp, RightDown, RightUp, Move, Leave };

// Chooses the tool; a line or rectangle being dragged is cancelled.
void ChooseTool(Tool tool);

// One mouse event for the line, rectangle or fill tool; true when the view
// must be repainted. A line or rectangle is applied on the release of the
// button that started it; the pointer's path in between does not matter.
bool HandleToolEvent(MouseEvent event, const CellPosition& cell, MapDocument& document,
                     EditHistory& history);

// The cells the last tool event changed (a fill, or a released shape).
CellMasks ToolChangesOfLastEvent();

// True while a line or rectangle is dragged: the window then keeps the mouse.
bool IsShapeDragged();

// Drops the line or rectangle being dragged (Escape, a lost capture); true
// when there was one, so that its preview must go.
bool CancelShapeDrag();

// The preview of the shape being dragged, or an overlay of kind None.
ShapeOverlay ShapeDragOverlay();
