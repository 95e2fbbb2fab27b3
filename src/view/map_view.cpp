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
