#include "app/mouse_editing.h"

#include "app/drawing_tools.h"
#include "view/map_view.h"

bool leftButtonDown = false;
bool rightButtonDown = false;

namespace {

// The cell of the previous pointer event in the client area, if the stroke
// can continue from there.
std::optional<CellPosition> previousCell;

// The cells the stroke in progress changed, from its press on, and those
// the last event changed (with the pen, added to the stroke's after it).
CellMasks strokeCells;
CellMasks eventCells;

void paintCell(const CellPosition& cell, std::uint8_t value, MapDocument& document) {
    PaintLine(document, cell, cell, value, eventCells);
}

// A press starts a new stroke; one whose release never came (it happened
// outside the window) ends here.
bool pressButton(bool& flag, const CellPosition& cell, std::uint8_t value, MapDocument& document,
                 EditHistory& history) {
    FinishStroke(history);
    flag = true;
    previousCell = cell;
    if (!isCellOnGrid(cell, document)) return false;
    paintCell(cell, value, document);
    return true;
}

bool movePointer(const CellPosition& cell, MapDocument& document) {
    const std::optional<CellPosition> from = previousCell;
    previousCell = cell;
    if (leftButtonDown == rightButtonDown) return false;
    const std::uint8_t value = leftButtonDown ? 1 : 0;
    PaintLine(document, from.value_or(cell), cell, value, eventCells);
    return true;
}

bool handlePenEvent(MouseEvent event, const CellPosition& cell, MapDocument& document,
                    EditHistory& history) {
    switch (event) {
        case MouseEvent::LeftDown:
            return pressButton(leftButtonDown, cell, 1, document, history);
        case MouseEvent::RightDown:
            return pressButton(rightButtonDown, cell, 0, document, history);
        case MouseEvent::LeftUp:
            leftButtonDown = false;
            FinishStroke(history);
            return false;
        case MouseEvent::RightUp:
            rightButtonDown = false;
            FinishStroke(history);
            return false;
        case MouseEvent::Move:
            return movePointer(cell, document);
        case MouseEvent::Leave:
            RestartStroke();
            return false;
    }
    return false;
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

bool HandleMouseEvent(MouseEvent event, const CellPosition& cell, MapDocument& document,
                      EditHistory& history) {
    eventCells = CellMasks();
    if (currentTool != Tool::Pen) {
        const bool repaint = HandleToolEvent(event, cell, document, history);
        eventCells = ToolChangesOfLastEvent();
        return repaint;
    }
    const bool repaint = handlePenEvent(event, cell, document, history);
    MergeMasks(strokeCells, eventCells);
    return repaint;
}

const CellMasks& CellsChangedByLastEvent() { return eventCells; }

void RestartStroke() { previousCell.reset(); }

void FinishStroke(EditHistory& history) {
    CancelShapeDrag();
    if (strokeCells.blockKeys.empty()) return;
    EditStep step;
    step.cells = std::move(strokeCells);
    strokeCells = CellMasks();
    FinishMasks(step.cells);
    RecordStep(history, std::move(step));
}
