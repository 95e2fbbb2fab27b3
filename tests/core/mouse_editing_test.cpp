#include "app/mouse_editing.h"
#include "core/mouse_editing_reset.h"

#include <gtest/gtest.h>

namespace {

class MouseEditingTest : public testing::Test {
  protected:
    void SetUp() override { ForgetMouseEditing(); }
    void TearDown() override { ForgetMouseEditing(); }

    bool at(int x, int y) const { return document.cells[y][x] == 1; }
    int setCount() const {
        int count = 0;
        for (const CellRow& row : document.cells)
            for (auto cell : row) count += cell;
        return count;
    }
    bool send(MouseEvent event, int x, int y) {
        return HandleMouseEvent(event, {x, y}, document, editing).repaint;
    }

    MapDocument document;
    EditingState editing;
    EditHistory& history = editing.history;
};

struct PointCase {
    unsigned px, py;
    int hpos, vpos;
    CellPosition cell;
};

TEST(CellFromPointTest, DividesByTheCellSizeAndAddsTheScrollPositions) {
    const PointCase cases[] = {
        {0, 0, 0, 0, {0, 0}},  {7, 7, 0, 0, {0, 0}},    {8, 0, 0, 0, {1, 0}},
        {17, 9, 3, 5, {5, 6}}, {400, 0, 0, 0, {50, 0}}, {65535, 65535, 0, 0, {8191, 8191}},
    };
    for (const PointCase& c : cases)
        EXPECT_EQ(CellFromPoint(c.px, c.py, c.hpos, c.vpos), c.cell) << c.px << "," << c.py;
}

TEST_F(MouseEditingTest, PressesEditTheirCellOnlyOnTheGrid) {
    EXPECT_TRUE(send(MouseEvent::LeftDown, 3, 4));
    EXPECT_TRUE(at(3, 4));
    EXPECT_TRUE(leftButtonDown);
    EXPECT_TRUE(send(MouseEvent::RightDown, 3, 4));
    EXPECT_FALSE(at(3, 4));
    EXPECT_TRUE(rightButtonDown);
    EXPECT_FALSE(send(MouseEvent::LeftDown, 50, 0));  // off the grid: no repaint
    EXPECT_FALSE(send(MouseEvent::LeftDown, 0, 50));
    EXPECT_FALSE(send(MouseEvent::LeftDown, -1, 0));
    EXPECT_EQ(setCount(), 0);
}

TEST_F(MouseEditingTest, ReleasesOnlyClearTheirFlag) {
    send(MouseEvent::LeftDown, 1, 1);
    EXPECT_FALSE(send(MouseEvent::LeftUp, 2, 2));
    EXPECT_FALSE(leftButtonDown);
    EXPECT_FALSE(at(2, 2));
    send(MouseEvent::RightDown, 1, 1);
    EXPECT_FALSE(send(MouseEvent::RightUp, 1, 1));
    EXPECT_FALSE(rightButtonDown);
}

TEST_F(MouseEditingTest, MovesPaintInTheFourStates) {
    EXPECT_FALSE(send(MouseEvent::Move, 5, 5));  // neither held
    EXPECT_EQ(setCount(), 0);

    send(MouseEvent::LeftDown, 5, 5);
    EXPECT_TRUE(send(MouseEvent::Move, 6, 5));  // left held: sets
    EXPECT_TRUE(at(6, 5));

    send(MouseEvent::RightDown, 6, 5);  // both held: a press still edits its own cell
    EXPECT_FALSE(at(6, 5));
    EXPECT_FALSE(send(MouseEvent::Move, 7, 5));  // ... but moves do nothing
    EXPECT_FALSE(at(7, 5));

    send(MouseEvent::LeftUp, 7, 5);  // right alone: clears
    send(MouseEvent::LeftDown, 9, 9);
    send(MouseEvent::LeftUp, 9, 9);
    ASSERT_TRUE(at(9, 9));
    EXPECT_TRUE(send(MouseEvent::Move, 9, 9));
    EXPECT_FALSE(at(9, 9));
}

TEST_F(MouseEditingTest, BothHeldThenReleasingRightResumesSetting) {
    send(MouseEvent::LeftDown, 0, 0);
    send(MouseEvent::RightDown, 0, 0);
    send(MouseEvent::Move, 1, 0);
    EXPECT_EQ(setCount(), 0);
    send(MouseEvent::RightUp, 1, 0);
    send(MouseEvent::Move, 2, 0);
    EXPECT_TRUE(at(2, 0));
}

TEST_F(MouseEditingTest, MoveOffTheGridRepaintsWithoutChange) {
    send(MouseEvent::LeftDown, 49, 0);
    send(MouseEvent::Leave, 0, 0);
    EXPECT_TRUE(send(MouseEvent::Move, 50, 0));
    EXPECT_EQ(setCount(), 1);
}

TEST_F(MouseEditingTest, QuickStrokePaintsTheWholeLineBetweenMoves) {
    send(MouseEvent::LeftDown, 2, 10);
    send(MouseEvent::Move, 30, 10);
    for (int x = 2; x <= 30; ++x) EXPECT_TRUE(at(x, 10)) << x;
    send(MouseEvent::Move, 30, 40);
    for (int y = 10; y <= 40; ++y) EXPECT_TRUE(at(30, y)) << y;
    send(MouseEvent::Move, 20, 30);  // a diagonal: one cell per step, no gaps
    for (int d = 0; d <= 10; ++d) EXPECT_TRUE(at(30 - d, 40 - d)) << d;
    EXPECT_EQ(setCount(), 29 + 30 + 10);
}

TEST_F(MouseEditingTest, LineRunningOffTheGridPaintsOnlyItsOnGridCells) {
    send(MouseEvent::LeftDown, 45, 0);
    send(MouseEvent::Move, 60, 0);
    EXPECT_EQ(setCount(), 5);
    for (int x = 45; x < 50; ++x) EXPECT_TRUE(at(x, 0));
}

TEST_F(MouseEditingTest, LeavingTheWindowStartsTheLineAfresh) {
    send(MouseEvent::LeftDown, 0, 0);
    send(MouseEvent::LeftUp, 0, 0);
    send(MouseEvent::LeftDown, 5, 5);  // pressed, then released outside: the flag stays
    send(MouseEvent::Leave, 0, 0);
    send(MouseEvent::Move, 40, 40);  // back in with no button: still paints, no line
    EXPECT_TRUE(at(40, 40));
    EXPECT_EQ(setCount(), 3);
    send(MouseEvent::LeftDown, 41, 41);  // a click inside ends the stroke ...
    send(MouseEvent::LeftUp, 41, 41);
    send(MouseEvent::Move, 45, 45);  // ... after setting its cell
    EXPECT_EQ(setCount(), 4);
}

TEST_F(MouseEditingTest, PressStartsTheLineAtItsOwnCell) {
    send(MouseEvent::Move, 0, 0);
    send(MouseEvent::LeftDown, 20, 20);
    send(MouseEvent::Move, 21, 20);
    EXPECT_EQ(setCount(), 2);
}

TEST_F(MouseEditingTest, BoundsComeFromTheCurrentGrid) {
    document.resizeGrid(10, 10);
    EXPECT_FALSE(send(MouseEvent::LeftDown, 10, 5));
    EXPECT_TRUE(send(MouseEvent::LeftDown, 9, 9));
    EXPECT_EQ(setCount(), 1);
}

TEST_F(MouseEditingTest, DoubleClickSetsTheSameCellTwice) {
    EXPECT_TRUE(send(MouseEvent::LeftDown, 4, 4));
    send(MouseEvent::LeftUp, 4, 4);
    EXPECT_TRUE(send(MouseEvent::LeftDown, 4, 4));
    EXPECT_EQ(setCount(), 1);
}

}  // namespace
