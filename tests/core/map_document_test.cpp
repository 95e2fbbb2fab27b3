#include "document/map_document.h"

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<std::pair<int, int>> setCells(const MapDocument& document) {
    std::vector<std::pair<int, int>> result;
    for (size_t y = 0; y < document.cells.size(); ++y)
        for (size_t x = 0; x < document.cells[y].size(); ++x)
            if (document.cells[y][x]) result.emplace_back(int(x), int(y));
    return result;
}

void expectInvariants(const MapDocument& document) {
    ASSERT_FALSE(document.cells.empty());
    const size_t width = document.cells.front().size();
    for (const CellRow& row : document.cells) {
        ASSERT_EQ(row.size(), width);
        for (std::uint8_t cell : row) ASSERT_LE(cell, 1);
    }
}

TEST(MapDocumentDefaults, NewMapIsFiftyByFiftyClearWithDefaultThresholds) {
    const MapDocument document;
    EXPECT_EQ(document.gridSize(), std::make_pair(50, 50));
    EXPECT_TRUE(setCells(document).empty());
    EXPECT_EQ(document.name, "");
    EXPECT_EQ(document.rank1, 999);
    EXPECT_EQ(document.rank2, 999);
    EXPECT_EQ(document.rate1, 100);
    EXPECT_EQ(document.rate2, 100);
    expectInvariants(document);
}

TEST(MapDocumentResize, ShrinkingThenGrowingKeepsOnlyTheOverlap) {
    MapDocument document;
    document.setCell(2, 1, 1);
    document.setCell(3, 1, 1);
    document.resizeGrid(3, 2);
    EXPECT_EQ(document.gridSize(), std::make_pair(3, 2));
    EXPECT_EQ(setCells(document), (std::vector<std::pair<int, int>>{{2, 1}}));
    document.resizeGrid(50, 50);
    EXPECT_EQ(document.gridSize(), std::make_pair(50, 50));
    EXPECT_EQ(setCells(document), (std::vector<std::pair<int, int>>{{2, 1}}));
}

TEST(MapDocumentResize, GrowingKeepsOldCellsAndAddsClearOnes) {
    MapDocument document;
    document.setCell(49, 49, 1);
    document.setCell(0, 0, 1);
    document.resizeGrid(60, 55);
    EXPECT_EQ(document.gridSize(), std::make_pair(60, 55));
    EXPECT_EQ(setCells(document), (std::vector<std::pair<int, int>>{{0, 0}, {49, 49}}));
    expectInvariants(document);
}

TEST(MapDocumentResize, RefusedSizesChangeNothing) {
    const std::pair<int, int> refused[] = {
        {0, 10},
        {10, 0},
        {-3, 5},
        {5, -3},
        {0, 0},
        {10001, 10000},  // one row over MAX_GRID_CELLS
        {65536, 65536},  // product overflows 32 bits
        {2147483647, 2147483647},
        {1, MAX_GRID_ROWS + 1},
    };
    for (const auto& [width, height] : refused) {
        MapDocument document;
        document.setCell(7, 8, 1);
        const MapDocument before = document;
        document.resizeGrid(width, height);
        EXPECT_TRUE(document == before) << width << " x " << height;
    }
}

TEST(MapDocumentResize, LimitsAreInclusive) {
    EXPECT_TRUE(isAcceptedGridSize(10000, 10000));
    EXPECT_FALSE(isAcceptedGridSize(10000, 10001));
    EXPECT_TRUE(isAcceptedGridSize(1000, MAX_GRID_ROWS));
    EXPECT_FALSE(isAcceptedGridSize(1000, MAX_GRID_ROWS + 1));
    EXPECT_TRUE(isAcceptedGridSize(100'000'000, 1));
}

TEST(MapDocumentResize, RandomSequencesKeepTheInvariantsAndTheOverlap) {
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> size(-2, 40);
    MapDocument document;
    for (int step = 0; step < 300; ++step) {
        const auto [oldWidth, oldHeight] = document.gridSize();
        const MapDocument before = document;
        const int width = size(random), height = size(random);
        document.resizeGrid(width, height);
        expectInvariants(document);
        if (width <= 0 || height <= 0) {
            EXPECT_TRUE(document == before);
            continue;
        }
        ASSERT_EQ(document.gridSize(), std::make_pair(width, height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const bool kept = x < oldWidth && y < oldHeight;
                ASSERT_EQ(document.cells[y][x], kept ? before.cells[y][x] : 0);
            }
        document.setCell(random() % width, random() % height, 1);
    }
}

struct ThresholdCase {
    int r1, r2, t1, t2;
    int rank1, rank2, rate1, rate2;
};

TEST(MapDocumentThresholds, OrderingRuleKeepsTheOldValueOfARejectedBoundary) {
    const ThresholdCase cases[] = {
        {100, 100, 80, 80, 100, 100, 80, 80},  // equality accepted
        {100, 90, 80, 85, 100, 999, 80, 100},  // both rejected: old values stay
        {500, 400, 80, 90, 500, 999, 80, 100}, {1200, 1100, 50, 40, 1200, 999, 50, 40},
        {-5, -1, -10, -20, -5, -1, -10, -20},  // no range check
    };
    for (const ThresholdCase& c : cases) {
        MapDocument document;
        document.applyThresholds(c.r1, c.r2, c.t1, c.t2);
        EXPECT_EQ(document.rank1, c.rank1);
        EXPECT_EQ(document.rank2, c.rank2);
        EXPECT_EQ(document.rate1, c.rate1);
        EXPECT_EQ(document.rate2, c.rate2);
    }
}

TEST(MapDocumentThresholds, KeptValueIsNotComparedWithTheNewFirstBoundary) {
    MapDocument document;
    document.applyThresholds(100, 400, 80, 80);
    document.applyThresholds(500, 300, 80, 80);
    EXPECT_EQ(document.rank1, 500);
    EXPECT_EQ(document.rank2, 400);
}

TEST(MapDocumentCopies, CopyCellsIsEqualAndIndependentOfLaterEdits) {
    MapDocument document;
    document.resizeGrid(300, 7);
    document.setCell(299, 6, 1);
    document.setCell(3, 0, 1);
    // Whatever copyCells returns, a value or a reference, is kept as it is.
    decltype(auto) copy = document.copyCells();
    EXPECT_TRUE(copy == document.cells);
    document.setCell(4, 4, 1);
    document.setCell(3, 0, 0);
    EXPECT_EQ(copy[4][4], 0);
    EXPECT_EQ(copy[0][3], 1);
    EXPECT_EQ(copy[6][299], 1);
}

}  // namespace
