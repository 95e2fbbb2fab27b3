// The drawing as first written down: every row and cell visited from the
// origin, one fill per cell, with the strict cut-offs. The tests check the
// optimised renderer against it pixel for pixel; the benchmarks time it.
#pragma once

#include "document/map_document.h"
#include "view/map_view.h"

#include "canvas_support.h"

inline void DrawMapViewLiterally(ViewCanvas& canvas, int hpos, int vpos, const CellGrid& grid) {
    const long long W = canvas.width, H = canvas.height;
    fillRect(canvas, 0, 0, W, H, BACKGROUND_COLOR);
    for (size_t r = 0; r < grid.size(); ++r) {
        if ((static_cast<long long>(r) - vpos) * 8 > H) break;
        for (size_t c = 0; c < grid[r].size(); ++c) {
            if ((static_cast<long long>(c) - hpos) * 8 > W) break;
            fillRect(canvas, (static_cast<long long>(c) - hpos) * 8,
                     (static_cast<long long>(r) - vpos) * 8, 8, 8,
                     grid[r][c] ? SET_CELL_COLOR : CLEAR_CELL_COLOR);
        }
    }
}
