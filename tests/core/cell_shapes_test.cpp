// The drawing tools' shapes: lines in every octant, rectangles from any
// corner and cut by the map's edges, and the fill against a plain
// breadth-first fill. Every shape's recorded masks take it back exactly.
#include "document/cell_shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <queue>
#include <random>

namespace {

MapDocument mapOf(int width, int height) {
    MapDocument document;
    document.resizeGrid(width, height);
    return document;
}

// Undoing the recorded masks gives the map from before.
void expectMasksTakeItBack(const MapDocument& before, MapDocument after, CellMasks masks) {
    FinishMasks(masks);
    ApplyMasks(masks, after.cells);
    EXPECT_TRUE(after.cells == before.cells);
}

TEST(LineCells, EveryOctantGivesAConnectedLineCloseToTheIdealOne) {
    const CellPosition from{20, 20};
    for (const CellPosition to : {CellPosition{20, 20},
                                  {31, 24},
                                  {24, 31},
                                  {16, 31},
                                  {9, 24},
                                  {9, 16},
                                  {16, 9},
                                  {24, 9},
                                  {31, 16},
                                  {35, 20},
                                  {20, 5}}) {
        std::vector<CellPosition> cells;
        ForEachLineCell(from, to, [&](const CellPosition& cell) { cells.push_back(cell); });
        const int dx = to.x - from.x, dy = to.y - from.y;
        ASSERT_EQ(cells.size(), static_cast<size_t>(std::max(std::abs(dx), std::abs(dy)) + 1));
        EXPECT_EQ(cells.front(), from);
        EXPECT_EQ(cells.back(), to);
        for (size_t i = 0; i < cells.size(); ++i) {
            if (i > 0) {
                EXPECT_LE(std::abs(cells[i].x - cells[i - 1].x), 1);
                EXPECT_LE(std::abs(cells[i].y - cells[i - 1].y), 1);
            }
            // Distance from the ideal line along the minor axis: at most half a cell.
            const double t = std::abs(dx) >= std::abs(dy)
                                 ? double(cells[i].x - from.x) / (dx ? dx : 1)
                                 : double(cells[i].y - from.y) / dy;
            EXPECT_LE(std::abs(from.x + t * dx - cells[i].x), 0.5 + 1e-9);
            EXPECT_LE(std::abs(from.y + t * dy - cells[i].y), 0.5 + 1e-9);
        }
    }
}

TEST(LineCells, APaintedLineSkipsCellsOffTheMap) {
    MapDocument document = mapOf(10, 10);
    const MapDocument before = document;
    CellMasks changed;
    PaintLine(document, {-5, 2}, {14, 2}, 1, changed);
    EXPECT_EQ(document.cells[2], CellRow(10, 1));
    expectMasksTakeItBack(before, document, changed);
}

TEST(Rectangles, AnyCornerOrderGivesTheSameCellsAndTheMapsEdgesCutThem) {
    struct Case {
        CellPosition a, b;
        CellArea wanted;
    };
    const Case cases[] = {
        {{2, 3}, {5, 7}, {2, 3, 5, 7}},     {{5, 7}, {2, 3}, {2, 3, 5, 7}},
        {{5, 3}, {2, 7}, {2, 3, 5, 7}},     {{2, 7}, {5, 3}, {2, 3, 5, 7}},
        {{4, 4}, {4, 4}, {4, 4, 4, 4}},     {{-3, -3}, {2, 1}, {0, 0, 2, 1}},
        {{8, 8}, {20, 30}, {8, 8, 9, 9}},   {{-5, 5}, {20, 5}, {0, 5, 9, 5}},
        {{11, 0}, {20, 5}, {0, 0, -1, -1}}, {{-9, -9}, {-1, -1}, {0, 0, -1, -1}},
    };
    for (const Case& c : cases) {
        MapDocument document = mapOf(10, 10);
        document.setCell(3, 4, 1);  // already set: not a change
        const MapDocument before = document;
        CellMasks changed;
        PaintRectangle(document, c.a, c.b, 1, changed);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) {
                const bool inside = !c.wanted.empty() && x >= c.wanted.left &&
                                    x <= c.wanted.right && y >= c.wanted.top &&
                                    y <= c.wanted.bottom;
                EXPECT_EQ(document.cells[y][x], inside || (x == 3 && y == 4) ? 1 : 0)
                    << x << "," << y << " from " << c.a.x << "," << c.a.y;
            }
        expectMasksTakeItBack(before, document, changed);
    }
}

// Wide rows: whole 64-cell blocks are read a chunk at a time.
TEST(Rectangles, OnWideRandomRowsOnlyTheCellsThatDifferAreRecorded) {
    std::mt19937 random(27);
    for (const std::uint8_t value : {0, 1}) {
        MapDocument document = mapOf(200, 5);
        for (CellRow& row : document.cells)
            for (auto& cell : row) cell = random() % 2;
        const MapDocument before = document;
        CellMasks changed;
        PaintRectangle(document, {3, 1}, {190, 3}, value, changed);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 200; ++x) {
                const bool inside = x >= 3 && x <= 190 && y >= 1 && y <= 3;
                ASSERT_EQ(document.cells[y][x], inside ? value : before.cells[y][x])
                    << x << "," << y;
            }
        expectMasksTakeItBack(before, document, changed);
    }
}

// The plain fill: a queue of cells, each compared on its own.
void referenceFill(CellGrid& cells, CellPosition seed, std::uint8_t value) {
    const std::uint8_t old = cells[seed.y][seed.x];
    if (old == value) return;
    std::queue<CellPosition> queue;
    queue.push(seed);
    cells[seed.y][seed.x] = value;
    while (!queue.empty()) {
        const CellPosition cell = queue.front();
        queue.pop();
        for (const CellPosition next : {CellPosition{cell.x - 1, cell.y},
                                        {cell.x + 1, cell.y},
                                        {cell.x, cell.y - 1},
                                        {cell.x, cell.y + 1}}) {
            if (next.y < 0 || next.y >= int(cells.size()) || next.x < 0 ||
                next.x >= int(cells[0].size()) || cells[next.y][next.x] != old)
                continue;
            cells[next.y][next.x] = value;
            queue.push(next);
        }
    }
}

// Also with room for only one or three pending segments, so that most rows
// are looked at again after the rest is filled.
TEST(Fill, MatchesAPlainFillOnRandomMapsHoweverFewSegmentsItMayKeep) {
    std::mt19937 random(24);
    const std::pair<int, int> sizes[] = {{1, 1}, {1, 40}, {40, 1}, {64, 64}, {130, 67}, {300, 5}};
    for (const std::size_t maxPending : {FILL_PENDING_SEGMENTS, std::size_t(1), std::size_t(3)})
        for (const auto& [width, height] : sizes)
            for (const int percentSet : {0, 30, 45, 60, 100})
                for (int round = 0; round < 6; ++round) {
                    MapDocument document = mapOf(width, height);
                    for (CellRow& row : document.cells)
                        for (auto& cell : row) cell = int(random() % 100) < percentSet;
                    const CellPosition seed{int(random() % width), int(random() % height)};
                    const std::uint8_t value = random() % 2;
                    const MapDocument before = document;
                    CellGrid expected = document.cells;
                    referenceFill(expected, seed, value);
                    CellMasks changed;
                    FillRegion(document, seed, value, changed, maxPending);
                    ASSERT_TRUE(document.cells == expected)
                        << width << " x " << height << ", " << percentSet << "% set, seed "
                        << seed.x << "," << seed.y << ", " << maxPending << " pending";
                    expectMasksTakeItBack(before, document, changed);
                }
}

}  // namespace
