// Undo and redo: strokes and parameter changes as steps, the masks against
// cells flipped one by one, and the history's bounds.
#include "document/edit_history.h"

#include <gtest/gtest.h>

#include <random>

#include "app/mouse_editing.h"
#include "core/mouse_editing_reset.h"
#include "view/parameter_dialog.h"

namespace {

struct HistoryTest : testing::Test {
    void SetUp() override { ForgetMouseEditing(); }
    void TearDown() override { ForgetMouseEditing(); }
    void stroke(MouseEvent down, std::initializer_list<CellPosition> cells) {
        const MouseEvent up =
            down == MouseEvent::LeftDown ? MouseEvent::LeftUp : MouseEvent::RightUp;
        HandleMouseEvent(down, *cells.begin(), document, editing);
        for (const CellPosition& cell : cells)
            HandleMouseEvent(MouseEvent::Move, cell, document, editing);
        HandleMouseEvent(up, *(cells.end() - 1), document, editing);
    }
    MapDocument document;
    EditingState editing;
    EditHistory& history = editing.history;
};

TEST_F(HistoryTest, EachStrokeIsOneStepThatUndoesAndRedoesExactly) {
    const MapDocument empty = document;
    stroke(MouseEvent::LeftDown, {{1, 1}, {5, 1}, {5, 49}});
    const MapDocument afterFirst = document;
    stroke(MouseEvent::RightDown, {{3, 1}, {5, 30}});
    const MapDocument afterSecond = document;
    stroke(MouseEvent::RightDown, {{20, 20}, {25, 20}});  // clears clear cells: no step
    EXPECT_EQ(history.steps.size(), 2u);

    const auto area = Undo(history, document);
    EXPECT_TRUE(document == afterFirst);
    ASSERT_TRUE(area);
    EXPECT_EQ(std::tie(area->left, area->top, area->right, area->bottom),
              std::make_tuple(3, 1, 5, 30));
    EXPECT_TRUE(Undo(history, document) && document == empty);
    EXPECT_FALSE(Undo(history, document));
    EXPECT_TRUE(Redo(history, document) && document == afterFirst);
    EXPECT_TRUE(Redo(history, document) && document == afterSecond);
    EXPECT_FALSE(Redo(history, document));

    Undo(history, document);
    stroke(MouseEvent::LeftDown, {{0, 0}});  // a new edit cuts the redo off
    EXPECT_FALSE(CanRedo(history));
    EXPECT_EQ(history.steps.size(), 2u);
}

TEST_F(HistoryTest, AParameterChangeIsOneStepAndAShrinksDroppedCellsComeBack) {
    document.resizeGrid(130, 70);  // blocks cut by the map's edges
    for (int i = 0; i < 130; ++i) document.setCell(i, i % 70, 1);
    document.setMapName("old");
    const MapDocument before = document;
    ParameterTexts texts = loadParameterTexts(document);
    texts.x = "65", texts.y = "3", texts.name = "new", texts.rank1 = "10", texts.rank2 = "20";
    auto step = applyParameterTexts(texts, document);
    ASSERT_TRUE(step);
    RecordStep(history, std::move(*step));
    const MapDocument after = document;

    EXPECT_TRUE(Undo(history, document) && document == before);
    EXPECT_EQ(document.rank1, before.rank1);
    EXPECT_TRUE(Redo(history, document) && document == after);
    EXPECT_FALSE(applyParameterTexts(loadParameterTexts(document), document))
        << "OK without a change";
}

// The masks, block by block, against cells flipped one at a time, on sizes
// that are and are not multiples of a block.
TEST(CellMasksTest, ApplyingTheMasksFlipsExactlyTheRecordedCells) {
    std::mt19937 random(7);
    for (const auto& [width, height] : {std::pair{64, 64}, {1, 1}, {200, 3}, {3, 200}, {129, 65}}) {
        MapDocument document;
        document.resizeGrid(width, height);
        CellGrid expected = document.cells;
        CellMasks masks;
        for (int i = 0; i < 300; ++i) {
            const int x = random() % width, y = random() % height;
            FlipCell(masks, x, y);
            expected[y][x] ^= 1;
        }
        FinishMasks(masks);
        ApplyMasks(masks, document.cells);
        EXPECT_TRUE(document.cells == expected) << width << " x " << height;
        ApplyMasks(masks, document.cells);
        EXPECT_TRUE(document.cells == CellGrid(height, CellRow(width, 0)));
    }
}

TEST(EditHistoryTest, TheCapDropsTheOldestStepsFirst) {
    EditHistory history;
    auto oneCell = [](int x) {
        EditStep step;
        FlipCell(step.cells, x, 0);
        FinishMasks(step.cells);
        return step;
    };
    history.capacity = 3 * StepBytes(oneCell(0));
    MapDocument document;
    for (int x = 0; x < 5; ++x) {
        document.setCell(x, 0, 1);
        RecordStep(history, oneCell(x));
    }
    EXPECT_EQ(history.steps.size(), 3u);
    while (Undo(history, document)) {
    }
    EXPECT_EQ(document.cells[0][1], 1) << "the oldest steps stay done";
    EXPECT_EQ(document.cells[0][2], 0);
}

}  // namespace
