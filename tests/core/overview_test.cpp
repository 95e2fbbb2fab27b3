// The overview: its picture against a plain per-pixel reference, its counts
// after edits against a recount, and a click's way to the view's position.
#include "view/overview.h"

#include <gtest/gtest.h>

#include <random>

#include "app/scroll_bar.h"
#include "canvas_support.h"
#include "view/map_view.h"

namespace {

CellGrid randomGrid(std::mt19937& random, int width, int height, int percentSet) {
    CellGrid cells(height, CellRow(width, 0));
    for (CellRow& row : cells)
        for (auto& cell : row) cell = int(random() % 1000) < percentSet * 10;
    return cells;
}

// Each pixel, on its own: which cells it covers, and whether any is set.
std::uint32_t referencePixel(const CellGrid& cells, const DownScale& scale, int x, int y) {
    const int width = cells[0].size(), height = cells.size();
    const int k = scale.cellsPerPixel, p = scale.pixelsPerCell;
    const int firstColumn = x / p * k, firstRow = y / p * k;
    if (firstColumn >= width || firstRow >= height) return BACKGROUND_COLOR;
    for (int row = firstRow; row < std::min(firstRow + k, height); ++row)
        for (int column = firstColumn; column < std::min(firstColumn + k, width); ++column)
            if (cells[row][column]) return SET_CELL_COLOR;
    return CLEAR_CELL_COLOR;
}

TEST(Overview, ThePictureMatchesAPlainReferenceForRandomMapsAndSizes) {
    std::mt19937 random(25);
    const int sizes[][4] = {{1, 1, 50, 40},   {7, 3, 50, 40},    {50, 40, 50, 40},
                            {51, 40, 50, 40}, {333, 97, 60, 45}, {1000, 2, 37, 9}};
    for (const auto& [width, height, clientWidth, clientHeight] : sizes)
        for (const int percent : {1, 20, 80}) {
            const CellGrid cells = randomGrid(random, width, height, percent);
            OverviewCounts overview;
            CountOverview(overview, cells, clientWidth, clientHeight);
            ViewCanvas canvas(clientWidth, clientHeight);
            DrawOverview(canvas.rows(), overview, CellArea{});
            for (int y = 0; y < clientHeight; ++y)
                for (int x = 0; x < clientWidth; ++x)
                    ASSERT_EQ(pixelAt(canvas, x, y), referencePixel(cells, overview.scale, x, y))
                        << width << " x " << height << " in " << clientWidth << " x "
                        << clientHeight << " at " << x << "," << y;
        }
}

TEST(Overview, CountsFollowEditsAsARecountWouldGiveThem) {
    std::mt19937 random(26);
    CellGrid cells = randomGrid(random, 300, 170, 30);
    OverviewCounts followed, recounted;
    CountOverview(followed, cells, 40, 30);
    for (int edit = 0; edit < 20; ++edit) {
        CellMasks flipped;
        for (int i = 0; i < 50; ++i) {
            const int x = random() % 300, y = random() % 170;
            cells[y][x] ^= 1;
            FlipCell(flipped, x, y);
        }
        NoteFlippedCells(followed, flipped, cells);
    }
    CountOverview(recounted, cells, 40, 30);
    EXPECT_EQ(followed.setCells, recounted.setCells);
}

TEST(Overview, AClickCentresTheViewOnItsCellAsFarAsTheBarsAllow) {
    OverviewCounts overview;
    CountOverview(overview, CellGrid(1000, CellRow(2000, 0)), 200, 200);  // 10 cells a pixel
    struct Case {
        int pointX, pointY;
        int positionX, positionY;  // for a view of 100 × 50 cells (pages 99 and 49)
    };
    const Case cases[] = {
        {100, 50, 951, 476},    // the middle: cell (1000, 500)
        {0, 0, 0, 0},           // the top left corner
        {-30, -4, 0, 0},        // beside the picture: the nearest cell
        {199, 99, 1902, 952},   // the last pixel: as far as the bars go
        {500, 900, 1902, 952},  // far past it
    };
    for (const Case& c : cases) {
        const CellPosition cell = OverviewCellAt(overview, c.pointX, c.pointY);
        EXPECT_EQ(PositionCentering(cell.x, 99, 2000), c.positionX) << c.pointX;
        EXPECT_EQ(PositionCentering(cell.y, 49, 1000), c.positionY) << c.pointY;
    }
}

}  // namespace
