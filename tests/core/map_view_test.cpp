#include "view/map_view.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "canvas_support.h"
#include "literal_map_view.h"

namespace {

CellGrid randomGrid(std::mt19937& random, int width, int height) {
    CellGrid grid(height, CellRow(width));
    for (CellRow& row : grid)
        for (auto& cell : row) cell = random() % 3 == 0;
    return grid;
}

void expectSamePicture(int W, int H, int hpos, int vpos, const CellGrid& grid) {
    ViewCanvas expected(W, H), actual(W, H);
    DrawMapViewLiterally(expected, hpos, vpos, grid);
    DrawMapView(actual, hpos, vpos, grid);
    ASSERT_EQ(actual.pixels, expected.pixels)
        << W << "x" << H << " at " << hpos << "," << vpos << " grid " << grid.size();
}

TEST(MapViewDifferential, MatchesTheLiteralDrawingForRandomGridsSizesAndPositions) {
    std::mt19937 random(2024);
    const int clientSizes[] = {0, 1, 7, 8, 9, 63, 64, 100, 403, 517};
    for (int trial = 0; trial < 300; ++trial) {
        const int width = random() % 90, height = 1 + random() % 90;
        const CellGrid grid = randomGrid(random, width, height);
        const int W = clientSizes[random() % 10], H = clientSizes[random() % 10];
        const int positions[] = {0, width / 2, width, width + 5};
        const int hpos = positions[random() % 4], vpos = positions[random() % 4] % (height + 6);
        expectSamePicture(W, H, hpos, vpos, grid);
    }
}

// The renderer draws any position, however far past the grid; under the
// sanitizers this also proves that nothing outside a row is touched.
TEST(MapViewDifferential, PositionsFarPastASmallGridShowOnlyBackground) {
    std::mt19937 random(15);
    const CellGrid grid = randomGrid(random, 3, 50);
    const int overshoots[] = {1, 1000, 100000};
    for (int overshoot : overshoots) {
        expectSamePicture(517, 403, 3 + overshoot, 0, grid);
        expectSamePicture(517, 403, 0, 50 + overshoot, grid);
        expectSamePicture(517, 403, 3 + overshoot, 50 + overshoot, grid);
    }
}

TEST(MapViewDifferential, RowsOfWidthZeroAndAnEmptyGridShowOnlyBackground) {
    expectSamePicture(64, 64, 0, 0, CellGrid(5, CellRow()));
    ViewCanvas canvas(40, 30);
    DrawMapView(canvas, 0, 0, CellGrid());
    for (std::uint32_t pixel : canvas.pixels) ASSERT_EQ(pixel, BACKGROUND_COLOR);
}

TEST(MapViewPicture, DefaultMapIsAWhiteSquareOnGray) {
    const MapDocument document;
    ViewCanvas canvas(500, 450);
    DrawMapView(canvas, 0, 0, document.cells);
    for (int y = 0; y < 450; ++y)
        for (int x = 0; x < 500; ++x)
            ASSERT_EQ(pixelAt(canvas, x, y),
                      x < 400 && y < 400 ? CLEAR_CELL_COLOR : BACKGROUND_COLOR)
                << x << "," << y;
}

TEST(MapViewPicture, SetCellIsABlackSquareAtItsPlace) {
    MapDocument document;
    document.setCell(3, 2, 1);
    ViewCanvas canvas(100, 100);
    DrawMapView(canvas, 0, 0, document.cells);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const bool inside = x >= 24 && x <= 31 && y >= 16 && y <= 23;
            ASSERT_EQ(pixelAt(canvas, x, y), inside ? SET_CELL_COLOR : CLEAR_CELL_COLOR);
        }
}

TEST(MapViewPicture, ScrollPositionsShiftTheOrigin) {
    MapDocument document;
    document.setCell(10, 5, 1);
    ViewCanvas canvas(80, 80);
    DrawMapView(canvas, 10, 5, document.cells);
    EXPECT_EQ(pixelAt(canvas, 0, 0), SET_CELL_COLOR);
    EXPECT_EQ(pixelAt(canvas, 7, 7), SET_CELL_COLOR);
    EXPECT_EQ(pixelAt(canvas, 8, 8), CLEAR_CELL_COLOR);
}

TEST(MapViewPicture, GridEndingInsideTheViewLeavesGrayOnTheRight) {
    const CellGrid grid(10, CellRow(200, 0));
    ViewCanvas full(400, 80), partial(400, 80);
    DrawMapView(full, 150, 0, grid);
    DrawMapView(partial, 180, 0, grid);
    EXPECT_EQ(pixelAt(full, 399, 0), CLEAR_CELL_COLOR);
    EXPECT_EQ(pixelAt(partial, 159, 0), CLEAR_CELL_COLOR);
    EXPECT_EQ(pixelAt(partial, 160, 0), BACKGROUND_COLOR);
    EXPECT_EQ(pixelAt(partial, 399, 79), BACKGROUND_COLOR);
}

TEST(MapViewPicture, PartlyVisibleColumnIsClipped) {
    const CellGrid grid(1, CellRow(60, 1));
    ViewCanvas canvas(403, 8);
    DrawMapView(canvas, 0, 0, grid);
    EXPECT_EQ(pixelAt(canvas, 402, 0), SET_CELL_COLOR);
    EXPECT_EQ(pixelAt(canvas, 400, 7), SET_CELL_COLOR);
}

// The window keeps one frame between paints, so every paint must cover
// whatever the one before left, cells and background alike.
TEST(MapViewPicture, APaintOverAnEarlierPictureEqualsAPaintOnAFreshCanvas) {
    std::mt19937 random(7);
    const CellGrid grid = randomGrid(random, 100, 70);
    struct Origin {
        int column, row;
    };
    // The whole view full of cells, then mostly background, and back.
    const Origin origins[] = {{0, 0}, {60, 40}, {99, 69}, {17, 9}, {0, 0}};
    ViewCanvas reused(640, 480);
    for (const Origin& origin : origins) {
        DrawMapView(reused, origin.column, origin.row, grid);
        ViewCanvas fresh(640, 480);
        DrawMapView(fresh, origin.column, origin.row, grid);
        EXPECT_EQ(reused.pixels, fresh.pixels) << origin.column << ", " << origin.row;
    }
}

}  // namespace

// A shape's preview colours exactly the pixels of its cells on the grid and
// in view, whatever the scroll position; nothing else changes.
TEST(ShapePreview, ColoursTheShapesCellsOnTheGridAndInViewOnly) {
    MapDocument document;
    document.resizeGrid(30, 20);
    const ShapeOverlay overlays[] = {
        {ShapeOverlay::Kind::Rectangle, {25, 15}, {40, 2}, 1},
        {ShapeOverlay::Kind::Line, {-4, 3}, {33, 19}, 0},
        {ShapeOverlay::Kind::Rectangle, {3, 3}, {3, 3}, 0},
    };
    for (const ShapeOverlay& overlay : overlays)
        for (const auto& [h, v] : {std::pair{0, 0}, {22, 5}, {29, 19}}) {
            ViewCanvas canvas(13 * CELL_SIZE + 3, 9 * CELL_SIZE + 5);
            DrawMapView(canvas, h, v, document.cells);
            const ViewCanvas under = canvas;
            DrawShapeOverlay(canvas.rows(), h, v, overlay, document);
            std::set<std::pair<int, int>> shape;
            if (overlay.kind == ShapeOverlay::Kind::Line)
                ForEachLineCell(overlay.from, overlay.to, [&](const CellPosition& cell) {
                    shape.insert({cell.x, cell.y});
                });
            else
                for (int y = std::min(overlay.from.y, overlay.to.y);
                     y <= std::max(overlay.from.y, overlay.to.y); ++y)
                    for (int x = std::min(overlay.from.x, overlay.to.x);
                         x <= std::max(overlay.from.x, overlay.to.x); ++x)
                        shape.insert({x, y});
            const std::uint32_t color = overlay.value ? PREVIEW_SET_COLOR : PREVIEW_CLEAR_COLOR;
            for (int y = 0; y < canvas.height; ++y)
                for (int x = 0; x < canvas.width; ++x) {
                    const int column = x / CELL_SIZE + h, row = y / CELL_SIZE + v;
                    const bool covered = shape.count({column, row}) && column < 30 && row < 20;
                    ASSERT_EQ(pixelAt(canvas, x, y), covered ? color : pixelAt(under, x, y))
                        << x << "," << y << " at " << h << "," << v;
                }
        }
}
