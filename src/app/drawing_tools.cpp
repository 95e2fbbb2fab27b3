#include "app/drawing_tools.h"

Tool currentTool = Tool::Pen;

namespace {

struct ShapeDrag {
    bool active = false;
    CellPosition from{0, 0}, to{0, 0};
    std::uint8_t value = 1;  // 1 from the left button, 0 from the right
};
ShapeDrag drag;
CellMasks lastChanges;

bool applyStep(EditHistory& history, EditStep step) {
    FinishMasks(step.cells);
    lastChanges = step.cells;
    const bool changed = !step.cells.blockKeys.empty();
    RecordStep(history, std::move(step));
    return changed;
}

bool press(const CellPosition& cell, std::uint8_t value, MapDocument& document,
           EditHistory& history) {
    if (currentTool == Tool::Fill) {
        EditStep step;
        FillRegion(document, cell, value, step.cells);
        return applyStep(history, std::move(step));
    }
    if (drag.active) return false;  // the other button is already dragging
    drag = {true, cell, cell, value};
    return true;
}

bool release(std::uint8_t value, MapDocument& document, EditHistory& history) {
    if (!drag.active || drag.value != value) return false;
    drag.active = false;
    EditStep step;
    if (currentTool == Tool::Line)
        PaintLine(document, drag.from, drag.to, value, step.cells);
    else
        PaintRectangle(document, drag.from, drag.to, value, step.cells);
    applyStep(history, std::move(step));
    return true;
}

}  // namespace

void ChooseTool(Tool tool) {
    CancelShapeDrag();
    currentTool = tool;
}

bool HandleToolEvent(MouseEvent event, const CellPosition& cell, MapDocument& document,
                     EditHistory& history) {
    lastChanges = CellMasks();
    switch (event) {
        case MouseEvent::LeftDown:
            return press(cell, 1, document, history);
        case MouseEvent::RightDown:
            return press(cell, 0, document, history);
        case MouseEvent::LeftUp:
            return release(1, document, history);
        case MouseEvent::RightUp:
            return release(0, document, history);
        case MouseEvent::Move:
            if (!drag.active || drag.to == cell) return false;
            drag.to = cell;
            return true;
        case MouseEvent::Leave:
            return false;
    }
    return false;
}

CellMasks ToolChangesOfLastEvent() { return std::move(lastChanges); }

bool IsShapeDragged() { return drag.active; }

bool CancelShapeDrag() {
    const bool wasActive = drag.active;
    drag.active = false;
    return wasActive;
}

ShapeOverlay ShapeDragOverlay() {
    if (!drag.active) return {};
    const auto kind =
        currentTool == Tool::Line ? ShapeOverlay::Kind::Line : ShapeOverlay::Kind::Rectangle;
    return {kind, drag.from, drag.to, drag.value};
}
