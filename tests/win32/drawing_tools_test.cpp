// The drawing tools in the real window: the letter keys and the menu's
// radio check, a line and a rectangle dragged with the mouse kept (ending
// outside the window), Escape, a fill, and one Ctrl+Z for each use.
#include <gtest/gtest.h>

#include "app/drawing_tools.h"
#include "app/editor_state_win32.h"
#include "app/main_window.h"
#include "resources/resource.h"
#include "win32/window_fixture.h"

namespace {

class DrawingToolsTest : public testing::Test {
  protected:
    void SetUp() override {
        window = ResetMainWindow(400, 400);
        ASSERT_NE(window, nullptr);
    }
    LPARAM at(int column, int row) { return MAKELPARAM(column * 8 + 4, row * 8 + 4); }
    UINT checkedTool() {
        HMENU tools = GetSubMenu(GetMenu(window), 3);
        SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(tools), 3);
        UINT checked = 0;
        for (UINT id = IDM_TOOL_PEN; id <= IDM_TOOL_FILL; ++id) {
            MENUITEMINFOA item = {};
            item.cbSize = sizeof item;
            item.fMask = MIIM_FTYPE | MIIM_STATE;
            GetMenuItemInfoA(tools, id, FALSE, &item);
            if (!(item.fState & MFS_CHECKED)) continue;
            EXPECT_TRUE(item.fType & MFT_RADIOCHECK) << "a round mark, not a tick: " << id;
            checked = checked ? ~0u : id;
        }
        return checked;
    }
    void undoOnce(const MapDocument& before) {
        EXPECT_TRUE(PressAcceleratorKey(window, 'Z', true));
        EXPECT_TRUE(currentMap == before);
    }
    HWND window = nullptr;
};

TEST_F(DrawingToolsTest, LetterKeysAndTheMenuChooseTheToolAndMoveTheRadioCheck) {
    EXPECT_EQ(checkedTool(), UINT(IDM_TOOL_PEN));
    const std::pair<char, UINT> keys[] = {
        {'L', IDM_TOOL_LINE}, {'R', IDM_TOOL_RECTANGLE}, {'F', IDM_TOOL_FILL}, {'P', IDM_TOOL_PEN}};
    for (const auto& [key, id] : keys) {
        EXPECT_TRUE(PressAcceleratorKey(window, key)) << key;
        EXPECT_EQ(checkedTool(), id) << key;
    }
    SendMessageA(window, WM_COMMAND, IDM_TOOL_RECTANGLE, 0);
    EXPECT_EQ(editor.editing.tools.current, Tool::Rectangle);
    EXPECT_EQ(checkedTool(), UINT(IDM_TOOL_RECTANGLE));
}

TEST_F(DrawingToolsTest, ALineIsAppliedOnReleaseWithTheMouseKeptAndOneUndo) {
    PressAcceleratorKey(window, 'L');
    const MapDocument before = currentMap;
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at(2, 2));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, at(30, 40));  // the path does not matter
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, at(10, 2));
    EXPECT_EQ(GetCapture(), window);
    EXPECT_TRUE(currentMap == before) << "only a preview while dragging";
    SendMessageA(window, WM_LBUTTONUP, 0, at(10, 2));
    EXPECT_NE(GetCapture(), window);
    for (int x = 0; x < 50; ++x) EXPECT_EQ(currentMap.cells[2][x], x >= 2 && x <= 10) << x;
    undoOnce(before);
}

TEST_F(DrawingToolsTest, ARectangleEndingOutsideTheWindowIsCutToTheMap) {
    PressAcceleratorKey(window, 'R');
    currentMap.setCell(0, 0, 1);
    const MapDocument before = currentMap;
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, at(3, 4));
    // Released left of and above the window: signed coordinates.
    SendMessageA(window, WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(-20, -30));
    SendMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(-20, -30));
    EXPECT_EQ(currentMap.cells[0][0], 0) << "the right button clears";
    MapDocument cleared = before;
    cleared.setCell(0, 0, 0);
    EXPECT_TRUE(currentMap == cleared);

    currentMap.cells.assign(50, CellRow(50, 1));
    const MapDocument allSet = currentMap;
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, at(1, 1));
    SendMessageA(window, WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(-20, -30));
    SendMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(-20, -30));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(currentMap.cells[y][x], x > 1 || y > 1) << x << y;
    undoOnce(allSet);
}

TEST_F(DrawingToolsTest, EscapeDropsTheShapeAndTheMouse) {
    PressAcceleratorKey(window, 'R');
    const MapDocument before = currentMap;
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at(2, 2));
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, at(8, 8));
    SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_NE(GetCapture(), window);
    SendMessageA(window, WM_LBUTTONUP, 0, at(8, 8));
    EXPECT_TRUE(currentMap == before);
}

TEST_F(DrawingToolsTest, AFillClickChangesTheRegionAsOneStep) {
    PressAcceleratorKey(window, 'F');
    for (int y = 0; y < 50; ++y) currentMap.setCell(20, y, 1);  // a wall
    const MapDocument before = currentMap;
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at(3, 3));
    SendMessageA(window, WM_LBUTTONUP, 0, at(3, 3));
    for (int x = 0; x < 50; ++x) EXPECT_EQ(currentMap.cells[10][x], x <= 20) << x;
    undoOnce(before);
}

}  // namespace
