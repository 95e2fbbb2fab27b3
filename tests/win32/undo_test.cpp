// Undo and redo in the real window: Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z and the
// Edit menu's items after strokes and a shrinking parameter change, the
// items' grey state, and the view following the change.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/view_scrolling_win32.h"
#include "document/edit_history.h"
#include "resources/resource.h"
#include "win32/window_fixture.h"

namespace {

class UndoTest : public testing::Test {
  protected:
    void SetUp() override {
        window = ResetMainWindow(400, 400);
        ASSERT_NE(window, nullptr);
    }
    void pressControl(char key, bool shift = false) {
        EXPECT_TRUE(PressAcceleratorKey(window, key, true, shift)) << key;
    }
    std::pair<bool, bool> greyed() {
        HMENU edit = GetSubMenu(GetMenu(window), 1);
        SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
        return {(GetMenuState(edit, IDM_UNDO, MF_BYCOMMAND) & MF_GRAYED) != 0,
                (GetMenuState(edit, IDM_REDO, MF_BYCOMMAND) & MF_GRAYED) != 0};
    }
    void drag(int fromX, int toX, int y) {
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, y));
        SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, y));
        SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(toX, y));
    }
    HWND window = nullptr;
};

TEST_F(UndoTest, KeysAndMenuTakeBackStrokesAndAShrinkAndGreyTheItems) {
    const MapDocument empty = currentMap;
    EXPECT_EQ(greyed(), std::make_pair(true, true));
    drag(4, 100, 4);  // cells 0..12 of row 0
    const MapDocument stroked = currentMap;
    DialogWatcher watcher([](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_SIZE_X, "5");
        SetDlgItemTextA(dialog, IDC_SIZE_Y, "4");
        SetDlgItemTextA(dialog, IDC_NAME, "small");
        PressButton(dialog, IDOK);
    });
    SendMessageA(window, WM_COMMAND, IDM_PARAMETERS, 0);
    ASSERT_TRUE(watcher.handled());
    const MapDocument shrunk = currentMap;
    ASSERT_EQ(shrunk.gridSize(), std::make_pair(5, 4));
    EXPECT_EQ(greyed(), std::make_pair(false, true));

    pressControl('Z');
    EXPECT_TRUE(currentMap == stroked) << "the dropped cells come back";
    EXPECT_EQ(ReadBar(window, SB_HORZ).nMax, 50) << "the bars follow the size";
    SendMessageA(window, WM_COMMAND, IDM_UNDO, 0);
    EXPECT_TRUE(currentMap == empty);
    EXPECT_EQ(greyed(), std::make_pair(true, false));
    pressControl('Y');
    EXPECT_TRUE(currentMap == stroked);
    pressControl('Z', true);
    EXPECT_TRUE(currentMap == shrunk);
    EXPECT_EQ(greyed(), std::make_pair(false, true));
    SendMessageA(window, WM_COMMAND, IDM_UNDO, 0);
    SendMessageA(window, WM_COMMAND, IDM_REDO, 0);
    EXPECT_TRUE(currentMap == shrunk);
}

TEST_F(UndoTest, UndoScrollsToAChangeOutOfView) {
    currentMap.resizeGrid(500, 500);
    UpdateScrollBars(window);
    drag(4, 12, 4);  // cells 0 and 1 of row 0
    SendMessageA(window, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 300), 0);
    SendMessageA(window, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 200), 0);
    ASSERT_EQ(ReadBar(window, SB_VERT).nPos, 300);
    SendMessageA(window, WM_COMMAND, IDM_UNDO, 0);
    EXPECT_EQ(ReadBar(window, SB_HORZ).nPos, 0);
    EXPECT_EQ(ReadBar(window, SB_VERT).nPos, 0);
    SendMessageA(window, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 1), 0);  // cell 1 shows
    SendMessageA(window, WM_COMMAND, IDM_REDO, 0);
    EXPECT_EQ(ReadBar(window, SB_HORZ).nPos, 1) << "a change in view does not move it";
}

TEST_F(UndoTest, NewStartsAnEmptyHistory) {
    drag(4, 20, 4);
    DialogWatcher watcher([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDYES, 0); });
    SendMessageA(window, WM_COMMAND, IDM_NEW, 0);
    ASSERT_TRUE(watcher.handled());
    EXPECT_EQ(greyed(), std::make_pair(true, true));
}

}  // namespace
