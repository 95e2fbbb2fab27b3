#include "view/overview.h"

#include <algorithm>

#include "view/map_view.h"

namespace {

long long ceilDivide(long long a, long long b) { return (a + b - 1) / b; }

std::uint32_t& countOf(OverviewCounts& overview, int x, int y) {
    const int k = overview.scale.cellsPerPixel;
    return overview.setCells[static_cast<std::size_t>(y / k) * overview.columns + x / k];
}

void fillPixels(const PixelRows& target, long long left, long long top, long long right,
                long long bottom, std::uint32_t color) {
    left = std::max(left, 0LL), top = std::max(top, 0LL);
    right = std::min<long long>(right, target.width),
    bottom = std::min<long long>(bottom, target.height);
    for (long long y = top; y < bottom; ++y)
        if (left < right) std::fill(target.row(y) + left, target.row(y) + right, color);
}

}  // namespace

void CountOverview(OverviewCounts& overview, const CellGrid& cells, int clientWidth,
                   int clientHeight) {
    const int height = static_cast<int>(cells.size());
    const int width = height ? static_cast<int>(cells.front().size()) : 0;
    overview.mapWidth = width, overview.mapHeight = height;
    overview.scale = ScaleToFit(width, height, clientWidth, clientHeight);
    const int k = overview.scale.cellsPerPixel;
    overview.columns = static_cast<int>(ceilDivide(width, k));
    overview.rows = static_cast<int>(ceilDivide(height, k));
    overview.setCells.assign(static_cast<std::size_t>(overview.columns) * overview.rows, 0);
    for (int y = 0; y < height; ++y)
        CountSetCellsByPixel(
            cells[y], width, k,
            overview.setCells.data() + static_cast<std::size_t>(y / k) * overview.columns);
}

void NoteFlippedCells(OverviewCounts& overview, const CellMasks& flipped, const CellGrid& cells) {
    for (std::size_t block = 0; block < flipped.blockKeys.size(); ++block) {
        const MaskBlock where = BlockOfKey(flipped.blockKeys[block]);
        const int left = where.left(), top = where.top();
        for (int row = 0; row < MASK_BLOCK_CELLS; ++row) {
            std::uint64_t bits = flipped.rows[block * MASK_BLOCK_CELLS + row];
            const int y = top + row;
            if (!bits || y >= overview.mapHeight) continue;
            const CellRow& cellRow = cells[y];
            for (; bits; bits &= bits - 1) {
                const int x = left + __builtin_ctzll(bits);
                if (x >= overview.mapWidth) break;
                std::uint32_t& count = countOf(overview, x, y);
                count = cellRow[x] ? count + 1 : count - 1;
            }
        }
    }
}

void DrawOverview(const PixelRows& target, const OverviewCounts& overview,
                  const CellArea& visible) {
    fillPixels(target, 0, 0, target.width, target.height, BACKGROUND_COLOR);
    const int p = overview.scale.pixelsPerCell;
    for (int row = 0; row < overview.rows; ++row)
        for (int column = 0; column < overview.columns; ++column) {
            const bool dark = IsDarkPixel(
                overview.setCells[static_cast<std::size_t>(row) * overview.columns + column]);
            // A partial block at the map's right or bottom edge is still one pixel.
            fillPixels(target, column * p, row * p, (column + 1) * p, (row + 1) * p,
                       dark ? SET_CELL_COLOR : CLEAR_CELL_COLOR);
        }
    // Cells first..last cover pixels (first / k) × p up to (last / k + 1) × p.
    const int k = overview.scale.cellsPerPixel;
    auto pixelRange = [&](int first, int last) {
        return std::pair<long long, long long>{static_cast<long long>(first / k) * p,
                                               static_cast<long long>(last / k + 1) * p};
    };
    const auto [left, right] =
        pixelRange(std::max(visible.left, 0), std::min(visible.right, overview.mapWidth - 1));
    const auto [top, bottom] =
        pixelRange(std::max(visible.top, 0), std::min(visible.bottom, overview.mapHeight - 1));
    if (visible.empty() || right <= left || bottom <= top) return;
    fillPixels(target, left, top, right, top + 1, OVERVIEW_OUTLINE_COLOR);
    fillPixels(target, left, bottom - 1, right, bottom, OVERVIEW_OUTLINE_COLOR);
    fillPixels(target, left, top, left + 1, bottom, OVERVIEW_OUTLINE_COLOR);
    fillPixels(target, right - 1, top, right, bottom, OVERVIEW_OUTLINE_COLOR);
}

CellPosition OverviewCellAt(const OverviewCounts& overview, int pointX, int pointY) {
    auto cellOf = [&](int point, int count) {
        const long long cell = static_cast<long long>(std::max(point, 0)) *
                               overview.scale.cellsPerPixel / overview.scale.pixelsPerCell;
        return static_cast<int>(std::clamp<long long>(cell, 0, std::max(count - 1, 0)));
    };
    return {cellOf(pointX, overview.mapWidth), cellOf(pointY, overview.mapHeight)};
}
