// The algorithms as first written down, kept as baselines for the
// benchmarks: a renderer that visits every row and cell from the origin with
// one fill per cell, and a reader and a writer of the grid file that take one
// character per library call.
#pragma once

#include <cstdio>
#include <string>

#include "document/map_document.h"
#include "view/map_view.h"

inline void DrawMapViewLiterally(ViewCanvas& canvas, int hpos, int vpos, const CellGrid& cells) {
    const CellGrid grid = cells;  // the copy every paint took
    const long long W = canvas.width, H = canvas.height;
    canvas.fillRect(0, 0, W, H, BACKGROUND_COLOR);
    for (size_t r = 0; r < grid.size(); ++r) {
        if ((static_cast<long long>(r) - vpos) * 8 > H) break;
        for (size_t c = 0; c < grid[r].size(); ++c) {
            if ((static_cast<long long>(c) - hpos) * 8 > W) break;
            canvas.fillRect((static_cast<long long>(c) - hpos) * 8,
                            (static_cast<long long>(r) - vpos) * 8, 8, 8,
                            grid[r][c] ? SET_CELL_COLOR : CLEAR_CELL_COLOR);
        }
    }
}

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
