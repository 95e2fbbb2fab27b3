#include "app/drawing_tools.h"

namespace {

// Records a finished step; the changed cells are the event's outcome.
EditOutcome applyStep(EditHistory& history, EditStep step) {
    FinishMasks(step.cells);
    EditOutcome outcome{!step.cells.blockKeys.empty(), step.cells};
    RecordStep(history, std::move(step));
    return outcome;
}

EditOutcome press(ToolState& tools, const CellPosition& cell, std::uint8_t value,
                  MapDocument& document, EditHistory& history) {
    if (tools.current == Tool::Fill) {
        EditStep step;
        FillRegion(document, cell, value, step.cells);
        return applyStep(history, std::move(step));
    }
    if (tools.drag.active) return {};  // the other button is already dragging
    tools.drag = {true, cell, cell, value};
    return {true, {}};
}

EditOutcome release(ToolState& tools, std::uint8_t value, MapDocument& document,
                    EditHistory& history) {
    ShapeDrag& drag = tools.drag;
    if (!drag.active || drag.value != value) return {};
    drag.active = false;
    EditStep step;
    if (tools.current == Tool::Line)
        PaintLine(document, drag.from, drag.to, value, step.cells);
    else
        PaintRectangle(document, drag.from, drag.to, value, step.cells);
    EditOutcome outcome = applyStep(history, std::move(step));
    outcome.repaint = true;  // the preview goes in any case
    return outcome;
}

}  // namespace

void ChooseTool(ToolState& tools, Tool tool) {
    CancelShapeDrag(tools);
    tools.current = tool;
}

EditOutcome HandleToolEvent(ToolState& tools, MouseEvent event, const CellPosition& cell,
                            MapDocument& document, EditHistory& history) {
    switch (event) {
        case MouseEvent::LeftDown:
            return press(tools, cell, 1, document, history);
        case MouseEvent::RightDown:
            return press(tools, cell, 0, document, history);
        case MouseEvent::LeftUp:
            return release(tools, 1, document, history);
        case MouseEvent::RightUp:
            return release(tools, 0, document, history);
        case MouseEvent::Move:
            if (!tools.drag.active || tools.drag.to == cell) return {};
            tools.drag.to = cell;
            return {true, {}};
        case MouseEvent::Leave:
            return {};
    }
    return {};
}

bool IsShapeDragged(const ToolState& tools) { return tools.drag.active; }

bool CancelShapeDrag(ToolState& tools) {
    const bool wasActive = tools.drag.active;
    tools.drag.active = false;
    return wasActive;
}

ShapeOverlay ShapeDragOverlay(const ToolState& tools) {
    if (!tools.drag.active) return {};
    const auto kind =
        tools.current == Tool::Line ? ShapeOverlay::Kind::Line : ShapeOverlay::Kind::Rectangle;
    return {kind, tools.drag.from, tools.drag.to, tools.drag.value};
}
