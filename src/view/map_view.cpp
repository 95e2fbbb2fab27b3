#include "view/map_view.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// First grid index whose square reaches into [0, extent) when the view
// starts at `position`, and one past the last.
std::pair<long long, long long> visibleRange(long long position, long long extent,
                                             long long count) {
    // Clamped to the grid, so that a position beyond it (the grid shrank
    // under the view) gives an empty range, never an index past the end.
    const long long first = std::min(std::max(position, 0LL), count);
    const long long cellsInView = (extent + CELL_SIZE - 1) / CELL_SIZE;
    const long long last = std::min(count, position + cellsInView);
    return {first, std::max(first, last)};
}

// One scanline of a grid row: eight pixels per visible cell, clipped to the
// canvas width; the part right of the grid keeps the background. The colour
// is chosen without a branch, since cells are as good as random.
void composeRowLine(const CellRow& row, long long firstColumn, long long endColumn,
                    long long horizontalPosition, std::vector<std::uint32_t>& line) {
    // Nothing of the row in view; no iterator or pointer is formed outside it.
    if (firstColumn >= endColumn) return;
    auto cell = row.begin() + firstColumn;
    std::uint32_t* out = line.data() + (firstColumn - horizontalPosition) * CELL_SIZE;
    std::uint32_t* const lineEnd = line.data() + line.size();
    constexpr std::uint32_t DIFFERENCE = CLEAR_CELL_COLOR ^ SET_CELL_COLOR;
    long long column = firstColumn;
    for (; column < endColumn && lineEnd - out >= CELL_SIZE; ++column, ++cell, out += CELL_SIZE) {
        const std::uint32_t color = CLEAR_CELL_COLOR ^ (DIFFERENCE & -std::uint32_t(*cell));
        for (int i = 0; i < CELL_SIZE; ++i) out[i] = color;
    }
    if (column < endColumn)  // a cell cut by the right edge
        std::fill(out, lineEnd, *cell ? SET_CELL_COLOR : CLEAR_CELL_COLOR);
}

}  // namespace

// Every pixel is written once: each visible grid row is composed as one
// scanline (cells, then background to the right) and copied into its eight
// lines; the lines below the grid get the background.
void DrawMapView(const PixelRows& target, int horizontalPosition, int verticalPosition,
                 const CellGrid& grid) {
    if (target.width <= 0 || target.height <= 0) return;
    const auto [firstRow, endRow] = visibleRange(verticalPosition, target.height, grid.size());
    std::vector<std::uint32_t> line(static_cast<size_t>(target.width));
    const std::vector<std::uint32_t> background(line.size(), BACKGROUND_COLOR);
    const size_t lineBytes = line.size() * sizeof(std::uint32_t);
    // Rows above the first visible grid row: only when the view starts above
    // the grid (a negative position), never for the scroll bars' positions.
    const long long gridTop = std::max(0LL, (firstRow - verticalPosition) * CELL_SIZE);
    long long y = 0;
    for (; y < std::min<long long>(gridTop, target.height); ++y)
        std::memcpy(target.row(y), background.data(), lineBytes);
    for (long long r = firstRow; r < endRow; ++r) {
        const CellRow& row = grid[static_cast<size_t>(r)];
        const auto [firstColumn, endColumn] =
            visibleRange(horizontalPosition, target.width, row.size());
        std::memcpy(line.data(), background.data(), lineBytes);
        composeRowLine(row, firstColumn, endColumn, horizontalPosition, line);
        const long long bottom = std::min<long long>(y + CELL_SIZE, target.height);
        for (; y < bottom; ++y) std::memcpy(target.row(y), line.data(), lineBytes);
    }
    for (; y < target.height; ++y) std::memcpy(target.row(y), background.data(), lineBytes);
}

void DrawMapView(ViewCanvas& canvas, int horizontalPosition, int verticalPosition,
                 const CellGrid& grid) {
    DrawMapView(canvas.rows(), horizontalPosition, verticalPosition, grid);
}

namespace {

void fillCell(const PixelRows& target, long long column, long long row, std::uint32_t color) {
    const long long left = column * CELL_SIZE, top = row * CELL_SIZE;
    if (left + CELL_SIZE <= 0 || top + CELL_SIZE <= 0 || left >= target.width ||
        top >= target.height)
        return;
    for (long long y = std::max(top, 0LL); y < std::min<long long>(top + CELL_SIZE, target.height);
         ++y)
        std::fill(target.row(y) + std::max(left, 0LL),
                  target.row(y) + std::min<long long>(left + CELL_SIZE, target.width), color);
}

}  // namespace

void DrawShapeOverlay(const PixelRows& target, int horizontalPosition, int verticalPosition,
                      const ShapeOverlay& overlay, const MapDocument& document) {
    const std::uint32_t color = overlay.value ? PREVIEW_SET_COLOR : PREVIEW_CLEAR_COLOR;
    auto draw = [&](const CellPosition& cell) {
        if (isCellOnGrid(cell, document))
            fillCell(target, static_cast<long long>(cell.x) - horizontalPosition,
                     static_cast<long long>(cell.y) - verticalPosition, color);
    };
    if (overlay.kind == ShapeOverlay::Kind::Line) {
        ForEachLineCell(overlay.from, overlay.to, draw);
    } else if (overlay.kind == ShapeOverlay::Kind::Rectangle) {
        // The rectangle's part on the grid, cut to the cells in view.
        CellArea area = RectangleWithin(overlay.from, overlay.to, document);
        const long long inViewX = (target.width + CELL_SIZE - 1) / CELL_SIZE;
        const long long inViewY = (target.height + CELL_SIZE - 1) / CELL_SIZE;
        const long long left = std::max<long long>(area.left, horizontalPosition);
        const long long right = std::min<long long>(area.right, horizontalPosition + inViewX - 1);
        const long long top = std::max<long long>(area.top, verticalPosition);
        const long long bottom = std::min<long long>(area.bottom, verticalPosition + inViewY - 1);
        for (long long y = top; y <= bottom && !area.empty(); ++y)
            for (long long x = left; x <= right; ++x)
                fillCell(target, x - horizontalPosition, y - verticalPosition, color);
    }
}
