#include "view/map_view.h"

#include <algorithm>
#include <vector>

#include "app/scroll_bar.h"

namespace {

// First grid index whose square reaches into [0, extent) when the view
// starts at `position`, and one past the last.
std::pair<long long, long long> visibleRange(long long position, long long extent,
                                             long long count) {
    const long long first = std::max(position, 0LL);
    const long long cellsInView = (extent + CELL_SIZE - 1) / CELL_SIZE;
    const long long last = std::min(count, position + cellsInView);
    return {first, std::max(first, last)};
}

// One scanline of a grid row: eight pixels per visible cell, clipped to the
// canvas width; the part right of the grid keeps the background.
void composeRowLine(const CellRow& row, long long firstColumn, long long endColumn,
                    long long horizontalPosition, std::vector<std::uint32_t>& line) {
    auto cell = row.begin() + firstColumn;
    std::uint32_t* out = line.data() + (firstColumn - horizontalPosition) * CELL_SIZE;
    std::uint32_t* const lineEnd = line.data() + line.size();
    for (long long column = firstColumn; column < endColumn; ++column, ++cell) {
        const std::uint32_t color = *cell ? SET_CELL_COLOR : CLEAR_CELL_COLOR;
        const long long count = std::min<long long>(CELL_SIZE, lineEnd - out);
        std::fill(out, out + count, color);
        out += count;
    }
}

}  // namespace

void DrawMapView(ViewCanvas& canvas, int horizontalPosition, int verticalPosition,
                 const CellGrid& grid) {
    std::fill(canvas.pixels.begin(), canvas.pixels.end(), BACKGROUND_COLOR);
    if (canvas.width == 0 || canvas.height == 0) return;
    const auto [firstRow, endRow] = visibleRange(verticalPosition, canvas.height, grid.size());
    std::vector<std::uint32_t> line(static_cast<size_t>(canvas.width));
    for (long long r = firstRow; r < endRow; ++r) {
        const CellRow& row = grid[static_cast<size_t>(r)];
        const auto [firstColumn, endColumn] =
            visibleRange(horizontalPosition, canvas.width, row.size());
        std::fill(line.begin(), line.end(), BACKGROUND_COLOR);
        composeRowLine(row, firstColumn, endColumn, horizontalPosition, line);
        const long long top = (r - verticalPosition) * CELL_SIZE;
        const long long bottom = std::min<long long>(top + CELL_SIZE, canvas.height);
        for (long long y = top; y < bottom; ++y)
            std::copy(line.begin(), line.end(), canvas.pixels.begin() + y * canvas.width);
    }
}
