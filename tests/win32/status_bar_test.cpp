// The status bar in the real window: hidden at first, the view above it,
// and its texts (read through SB_GETTEXT) following the pointer, a shape's
// drag, the set cells and the unsaved changes.
#include <gtest/gtest.h>
#include <windows.h>
// The status bar's messages need the declarations of <windows.h> first.
#include <commctrl.h>

#include <functional>

#include "app/editor_state_win32.h"
#include "app/main_window.h"
#include "app/scroll_bar.h"
#include "app/view_scrolling_win32.h"
#include "resources/resource.h"
#include "win32/window_fixture.h"

namespace {

class StatusBarTest : public testing::Test {
  protected:
    void SetUp() override {
        window = ResetMainWindow(600, 600);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { ShowStatusBar(window, editor.status, false); }
    LPARAM at(int column, int row) { return MAKELPARAM(column * 8 + 4, row * 8 + 4); }
    std::string part(int index) {
        char text[256] = {};
        SendMessageA(GetDlgItem(window, IDC_STATUS_BAR), SB_GETTEXTA, index,
                     reinterpret_cast<LPARAM>(text));
        return text;
    }
    HWND window = nullptr;
};

TEST_F(StatusBarTest, HiddenAtFirstAndTheViewIsTheClientAreaAboveIt) {
    currentMap.resizeGrid(200, 200);
    UpdateScrollBars(window);
    EXPECT_EQ(GetDlgItem(window, IDC_STATUS_BAR), nullptr);
    EXPECT_EQ(ReadBar(window, SB_VERT).nPage, static_cast<UINT>(PageForClientExtent(600)));
    SendMessageA(window, WM_COMMAND, IDM_STATUS_BAR, 0);
    const HWND bar = GetDlgItem(window, IDC_STATUS_BAR);
    ASSERT_NE(bar, nullptr);
    RECT barRect;
    GetWindowRect(bar, &barRect);
    const int height = barRect.bottom - barRect.top;
    ASSERT_GT(height, 0);
    EXPECT_EQ(ReadBar(window, SB_VERT).nPage, static_cast<UINT>(PageForClientExtent(600 - height)));
    SendMessageA(window, WM_COMMAND, IDM_STATUS_BAR, 0);
    EXPECT_EQ(GetDlgItem(window, IDC_STATUS_BAR), nullptr);
    EXPECT_EQ(ReadBar(window, SB_VERT).nPage, static_cast<UINT>(PageForClientExtent(600)));
}

TEST_F(StatusBarTest, ItsTextsFollowThePointerTheDragTheCellsAndTheChanges) {
    SendMessageA(window, WM_COMMAND, IDM_STATUS_BAR, 0);
    struct Case {
        const char* what;
        std::function<void()> action;
        int part;
        const char* text;  // UTF-8
    };
    const Case cases[] = {
        {"map size", [] {}, SizePart, u8"50 × 50"},
        {"no set cell", [] {}, SetCellsPart, u8"黒 0"},
        {"scale", [] {}, ScalePart, u8"100%"},
        {"nothing changed", [] {}, ChangedPart, ""},
        {"pointer at line 4, column 3", [&] { SendMessageA(window, WM_MOUSEMOVE, 0, at(2, 3)); },
         CellPart, "4:3"},
        {"pointer beyond the map", [&] { SendMessageA(window, WM_MOUSEMOVE, 0, at(60, 3)); },
         CellPart, ""},
        {"a stroke sets two cells",
         [&] {
             SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at(1, 1));
             SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, at(2, 1));
             SendMessageA(window, WM_LBUTTONUP, 0, at(2, 1));
         },
         SetCellsPart, u8"黒 2"},
        {"unsaved", [] {}, ChangedPart, u8"変更あり"},
        {"a rectangle dragged",
         [&] {
             SendMessageA(window, WM_COMMAND, IDM_TOOL_RECTANGLE, 0);
             SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at(10, 10));
             SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, at(13, 11));
         },
         DragPart, u8"4 × 2"},
        {"the rectangle placed", [&] { SendMessageA(window, WM_LBUTTONUP, 0, at(13, 11)); },
         SetCellsPart, u8"黒 10"},
        {"no drag after it", [] {}, DragPart, ""},
        {"undone", [&] { PressAcceleratorKey(window, 'Z', true); }, SetCellsPart, u8"黒 2"},
        {"undone to the start", [&] { PressAcceleratorKey(window, 'Z', true); }, ChangedPart, ""},
        {"redone", [&] { PressAcceleratorKey(window, 'Y', true); }, SetCellsPart, u8"黒 2"},
        {"pointer gone", [&] { SendMessageA(window, WM_MOUSELEAVE, 0, 0); }, CellPart, ""},
    };
    for (const Case& c : cases) {
        c.action();
        EXPECT_EQ(part(c.part), ansi(c.text)) << c.what;
    }
    SendMessageA(window, WM_COMMAND, IDM_TOOL_PEN, 0);
}

}  // namespace
