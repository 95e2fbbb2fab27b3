// The drawing tools besides the pen, apart from the platform: the line and
// the rectangle, dragged from a press to a release with a preview, and the
// fill, one click. The left button sets cells, the right one clears them;
// each use is one undo step.
#pragma once

#include "document/cell_shapes.h"
#include "document/edit_history.h"
#include "view/map_view.h"

enum class Tool { Pen, Line, Rectangle, Fill };

// A line or rectangle from the press of a button to its release.
struct ShapeDrag {
    bool active = false;
    CellPosition from{0, 0}, to{0, 0};
    std::uint8_t value = 1;  // 1 from the left button, 0 from the right
};

// The tool the mouse works with (the pen at start) and its drag.
struct ToolState {
    Tool current = Tool::Pen;
    ShapeDrag drag;
};

enum class MouseEvent { LeftDown, LeftUp, RightDown, RightUp, Move, Leave };

// What a mouse event did: whether the view must be repainted, and the cells
// it changed (not finished: see CellMasks), for whatever follows the map's
// cells, such as the overview.
struct EditOutcome {
    bool repaint = false;
    CellMasks changed;
};

// Chooses the tool; a line or rectangle being dragged is cancelled.
void ChooseTool(ToolState& tools, Tool tool);

// One mouse event for the line, rectangle or fill tool. A line or rectangle
// is applied on the release of the button that started it; the pointer's
// path in between does not matter.
EditOutcome HandleToolEvent(ToolState& tools, MouseEvent event, const CellPosition& cell,
                            MapDocument& document, EditHistory& history);

// True while a line or rectangle is dragged: the window then keeps the mouse.
bool IsShapeDragged(const ToolState& tools);

// Drops the line or rectangle being dragged (Escape, a lost capture); true
// when there was one, so that its preview must go.
bool CancelShapeDrag(ToolState& tools);

// The preview of the shape being dragged, or an overlay of kind None.
ShapeOverlay ShapeDragOverlay(const ToolState& tools);
