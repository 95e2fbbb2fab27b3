#include "app/mouse_editing.h"

#include "app/drawing_tools.h"
#include "view/map_view.h"

bool leftButtonDown = false;
bool rightButtonDown = false;

namespace {

// A press starts a new stroke; one whose release never came (it happened
// outside the window) ends here.
EditOutcome pressButton(bool& flag, const CellPosition& cell, std::uint8_t value,
                        MapDocument& document, EditingState& editing) {
    FinishStroke(editing);
    flag = true;
    editing.stroke.previousCell = cell;
    EditOutcome outcome;
    if (!isCellOnGrid(cell, document)) return outcome;
    PaintLine(document, cell, cell, value, outcome.changed);
    outcome.repaint = true;
    return outcome;
}

EditOutcome movePointer(const CellPosition& cell, MapDocument& document, StrokeState& stroke) {
    const std::optional<CellPosition> from = stroke.previousCell;
    stroke.previousCell = cell;
    EditOutcome outcome;
    if (leftButtonDown == rightButtonDown) return outcome;
    const std::uint8_t value = leftButtonDown ? 1 : 0;
    PaintLine(document, from.value_or(cell), cell, value, outcome.changed);
    outcome.repaint = true;
    return outcome;
}

EditOutcome handlePenEvent(MouseEvent event, const CellPosition& cell, MapDocument& document,
                           EditingState& editing) {
    switch (event) {
        case MouseEvent::LeftDown:
            return pressButton(leftButtonDown, cell, 1, document, editing);
        case MouseEvent::RightDown:
            return pressButton(rightButtonDown, cell, 0, document, editing);
        case MouseEvent::LeftUp:
            leftButtonDown = false;
            FinishStroke(editing);
            return {};
        case MouseEvent::RightUp:
            rightButtonDown = false;
            FinishStroke(editing);
            return {};
        case MouseEvent::Move:
            return movePointer(cell, document, editing.stroke);
        case MouseEvent::Leave:
            RestartStroke(editing.stroke);
            return {};
    }
    return {};
}

}  // namespace

CellPosition CellFromPoint(unsigned pointX, unsigned pointY, int horizontalPosition,
                           int verticalPosition) {
    return {static_cast<int>(pointX / CELL_SIZE) + horizontalPosition,
            static_cast<int>(pointY / CELL_SIZE) + verticalPosition};
}

CellPosition CellFromSignedPoint(int pointX, int pointY, int horizontalPosition,
                                 int verticalPosition) {
    auto floorCells = [](int pixels) {
        return pixels >= 0 ? pixels / CELL_SIZE : -((-pixels + CELL_SIZE - 1) / CELL_SIZE);
    };
    return {floorCells(pointX) + horizontalPosition, floorCells(pointY) + verticalPosition};
}

EditOutcome HandleMouseEvent(MouseEvent event, const CellPosition& cell, MapDocument& document,
                             EditingState& editing) {
    if (editing.tools.current != Tool::Pen)
        return HandleToolEvent(editing.tools, event, cell, document, editing.history);
    EditOutcome outcome = handlePenEvent(event, cell, document, editing);
    MergeMasks(editing.stroke.cells, outcome.changed);
    return outcome;
}

void RestartStroke(StrokeState& stroke) { stroke.previousCell.reset(); }

void FinishStroke(EditingState& editing) {
    CancelShapeDrag(editing.tools);
    if (editing.stroke.cells.blockKeys.empty()) return;
    EditStep step;
    step.cells = std::move(editing.stroke.cells);
    editing.stroke.cells = CellMasks();
    FinishMasks(step.cells);
    RecordStep(editing.history, std::move(step));
}
