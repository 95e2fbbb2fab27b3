#include "app/mouse_editing.h"

#include <cstdlib>

#include "view/map_view.h"

bool leftButtonDown = false;
bool rightButtonDown = false;

namespace {

// The cell of the previous pointer event in the client area, if the stroke
// can continue from there.
std::optional<CellPosition> previousCell;

// The cells the stroke in progress changed, from its press on.
CellMasks strokeCells;

void paintCell(const CellPosition& cell, std::uint8_t value, MapDocument& document) {
    if (!isCellOnGrid(cell, document)) return;
    std::uint8_t& stored = document.cells[cell.y][cell.x];
    if (stored == value) return;
    stored = value;
    FlipCell(strokeCells, cell.x, cell.y);
}

// Every cell on the line from `from` to `to` (Bresenham, both ends included).
void paintLine(CellPosition from, const CellPosition& to, std::uint8_t value,
               MapDocument& document) {
    const long long dx = std::llabs(static_cast<long long>(to.x) - from.x);
    const long long dy = -std::llabs(static_cast<long long>(to.y) - from.y);
    const int stepX = from.x < to.x ? 1 : -1;
    const int stepY = from.y < to.y ? 1 : -1;
    long long error = dx + dy;
    while (true) {
        paintCell(from, value, document);
        if (from == to) return;
        const long long doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            from.x += stepX;
        }
        if (doubled <= dx) {
            error += dx;
            from.y += stepY;
        }
    }
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
    paintLine(from.value_or(cell), cell, value, document);
    return true;
}

}  // namespace

CellPosition CellFromPoint(unsigned pointX, unsigned pointY, int horizontalPosition,
                           int verticalPosition) {
    return {static_cast<int>(pointX / CELL_SIZE) + horizontalPosition,
            static_cast<int>(pointY / CELL_SIZE) + verticalPosition};
}

bool isCellOnGrid(const CellPosition& cell, const MapDocument& document) {
    const auto [width, height] = document.gridSize();
    return cell.y >= 0 && cell.y < height && cell.x >= 0 && cell.x < width;
}

bool HandleMouseEvent(MouseEvent event, const CellPosition& cell, MapDocument& document,
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

void RestartStroke() { previousCell.reset(); }

void FinishStroke(EditHistory& history) {
    if (strokeCells.blockKeys.empty()) return;
    EditStep step;
    step.cells = std::move(strokeCells);
    strokeCells = CellMasks();
    FinishMasks(step.cells);
    RecordStep(history, std::move(step));
}

void ResetMouseEditing() {
    leftButtonDown = false;
    rightButtonDown = false;
    previousCell.reset();
    strokeCells = CellMasks();
}
