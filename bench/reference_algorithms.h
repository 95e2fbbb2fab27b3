// The algorithms as first written down, kept as baselines for the
// benchmarks: the renderer that visits every row and cell from the origin
// with one fill per cell (shared with the tests), and a reader and a writer
// of the grid file that take one character per library call.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/mouse_editing.h"

#include "document/map_document.h"
#include "tests/core/literal_map_view.h"

inline CellGrid ReadGridFileByCharacter(const std::string& path, int width, int height) {
    CellGrid grid;
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return grid;
    for (int y = 0; y < height; ++y) {
        CellRow row;
        for (int x = 0; x < width; ++x) row.push_back(std::fgetc(file) == '1' ? 1 : 0);
        grid.push_back(row);
        std::fgetc(file);
    }
    std::fclose(file);
    return grid;
}

inline bool WriteGridFileByCharacter(const std::string& path, const CellGrid& grid) {
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file) return false;
    for (const CellRow& row : grid) {
        for (auto cell : row) std::fputc(cell ? '1' : '0', file);
        std::fputc('\n', file);
    }
    std::fclose(file);
    return true;
}

// The pen's line as it was before strokes were recorded: every cell from
// `from` to `to` (Bresenham) set directly.
inline void PaintLineUnrecorded(CellPosition from, const CellPosition& to, MapDocument& document) {
    const long long dx = std::llabs(static_cast<long long>(to.x) - from.x);
    const long long dy = -std::llabs(static_cast<long long>(to.y) - from.y);
    const int stepX = from.x < to.x ? 1 : -1, stepY = from.y < to.y ? 1 : -1;
    long long error = dx + dy;
    while (true) {
        if (isCellOnGrid(from, document)) document.setCell(from.x, from.y, 1);
        if (from == to) return;
        const long long doubled = 2 * error;
        if (doubled >= dy) error += dy, from.x += stepX;
        if (doubled <= dx) error += dx, from.y += stepY;
    }
}
