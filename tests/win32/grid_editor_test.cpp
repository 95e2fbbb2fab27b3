// The real window's scroll bars, mouse editing through window messages, and
// the pixels of a real paint.
#include <gtest/gtest.h>

#include <vector>

#include "app/main_window.h"
#include "app/scroll_bar.h"
#include "app/view_scrolling_win32.h"
#include "document/map_document.h"
#include "resources/resource.h"
#include "view/map_view.h"
#include "view/map_view_win32.h"
#include "win32/window_fixture.h"

#include "core/canvas_support.h"
#include "core/scroll_bar_model.h"

namespace {

class GridEditorTest : public testing::Test {
  protected:
    void SetUp() override {
        window = ResetMainWindow(400, 400);
        ASSERT_NE(window, nullptr);
    }
    void scroll(UINT message, WORD request) { SendMessageA(window, message, request, 0); }
    bool updatePending() {
        RECT rect;
        return GetUpdateRect(window, &rect, FALSE) != FALSE;
    }
    HWND window = nullptr;
};

TEST_F(GridEditorTest, BarsOfTheDefaultMapInA400PixelClient) {
    for (int bar : {SB_HORZ, SB_VERT}) {
        const SCROLLINFO info = ReadBar(window, bar);
        EXPECT_EQ(info.nMin, 0);
        EXPECT_EQ(info.nMax, 50);
        EXPECT_EQ(info.nPage, 49u);
        EXPECT_EQ(info.nPos, 0);
    }
    for (int step = 0; step < 10; ++step) scroll(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(ReadBar(window, SB_VERT).nPos, 2);  // the largest position
}

// The real bars against the rules of the platform-free model, for client
// heights under one cell, of one cell and more, and for a minimised window.
TEST_F(GridEditorTest, BarsFollowTheModelForTinyAndMinimisedClients) {
    auto expectModel = [&](const char* what) {
        RECT client;
        GetClientRect(window, &client);
        ScrollBarState model;
        model.nPos = 1;
        setScrollRangeAndPage(model, 0, 50, PageForClientExtent(client.bottom));
        const SCROLLINFO info = ReadBar(window, SB_VERT);
        EXPECT_EQ(info.nPage, model.nPage) << what << " height " << client.bottom;
        EXPECT_EQ(info.nPos, model.nPos) << what << " height " << client.bottom;
    };
    for (int height : {0, 5, 8, 15, 16, 400}) {
        SetClientSize(window, 400, 400);
        SetScrollPos(window, SB_VERT, 1, FALSE);
        SetClientSize(window, 400, height);
        expectModel("resized");
    }
    SetClientSize(window, 400, 400);
    SetScrollPos(window, SB_VERT, 1, FALSE);
    ShowWindow(window, SW_MINIMIZE);
    PumpMessages();
    expectModel("minimised");
    ShowWindow(window, SW_RESTORE);
    PumpMessages();
}

TEST_F(GridEditorTest, ClientUnderOneCellGivesTheWholeRangeAsPageAndPositionZero) {
    SetScrollPos(window, SB_VERT, 1, FALSE);
    SetClientSize(window, 400, 0);
    RECT client;
    GetClientRect(window, &client);
    ASSERT_LT(client.bottom, 8);
    const SCROLLINFO info = ReadBar(window, SB_VERT);
    EXPECT_EQ(info.nPage, 51u);
    EXPECT_EQ(info.nPos, 0);
}

struct ScrollCase {
    const char* what;
    WORD request;
    int startPosition;
    int position;
    bool repaints;
};

TEST_F(GridEditorTest, EachRequestMovesTheBarAndRepaintsOnlyOnChange) {
    currentMap.resizeGrid(200, 200);
    UpdateScrollBars(window);
    const ScrollCase cases[] = {
        {"line down", SB_LINEDOWN, 0, 1, true},
        {"line up at 0", SB_LINEUP, 0, 0, false},
        {"line up", SB_LINEUP, 5, 4, true},
        {"page down", SB_PAGEDOWN, 0, 49, true},
        {"page up", SB_PAGEUP, 60, 11, true},
        {"page down at the end", SB_PAGEDOWN, 152, 152, true},  // clamped back, repainted
        {"top", SB_TOP, 5, 5, false},
        {"bottom", SB_BOTTOM, 5, 5, false},
        {"end scroll", SB_ENDSCROLL, 5, 5, false},
        {"thumb position", SB_THUMBPOSITION, 5, 5, false},
    };
    for (int bar : {SB_HORZ, SB_VERT}) {
        const UINT message = bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
        for (const ScrollCase& c : cases) {
            SetScrollPos(window, bar, c.startPosition, FALSE);
            ValidateRect(window, nullptr);
            scroll(message, c.request);
            EXPECT_EQ(ReadBar(window, bar).nPos, c.position) << c.what;
            EXPECT_EQ(updatePending(), c.repaints) << c.what;
        }
    }
}

// Mouse input as the hardware gives it, at a point of the screen.
INPUT MouseInputAt(int x, int y, DWORD flags) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

// A real drag of the thumb to the bar's right end. The system's tracking loop
// reports the position past 65535 in the message with its low 16 bits only;
// the bar's tracking position gives the rest.
TEST_F(GridEditorTest, ThumbTrackingFollowsTheBarsTrackPositionBeyond16Bits) {
    currentMap.resizeGrid(70000, 2);
    UpdateScrollBars(window);
    SetScrollPos(window, SB_HORZ, 0, FALSE);
    SetForegroundWindow(window);
    PumpMessages();
    SCROLLBARINFO bar = {};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(window, OBJID_HSCROLL, &bar));
    const int y = (bar.rcScrollBar.top + bar.rcScrollBar.bottom) / 2;
    const int thumb = bar.rcScrollBar.left + (bar.xyThumbTop + bar.xyThumbBottom) / 2;
    // The right arrow takes the bar's last square; the thumb stops against it.
    const int end = bar.rcScrollBar.right - (bar.rcScrollBar.bottom - bar.rcScrollBar.top) - 1;
    INPUT drag[] = {
        MouseInputAt(thumb, y, 0),
        MouseInputAt(thumb, y, MOUSEEVENTF_LEFTDOWN),
        MouseInputAt((thumb + end) / 2, y, 0),
        MouseInputAt(end, y, 0),
        MouseInputAt(end, y, MOUSEEVENTF_LEFTUP),
    };
    ASSERT_EQ(SendInput(5, drag, sizeof(INPUT)), 5u);
    PumpMessages();  // the tracking loop runs inside the press's dispatch
    const SCROLLINFO info = ReadBar(window, SB_HORZ);
    EXPECT_EQ(info.nPos, info.nMax - int(info.nPage) + 1);
    EXPECT_GT(info.nPos, 65535);
}

// Another program or an automation tool sends the position in the message;
// the bar is not being dragged, so its tracking position is its position.
TEST_F(GridEditorTest, ThumbTrackingSentByAnotherProgramMovesToTheMessagesPosition) {
    window = ResetMainWindow(200, 200);
    SendMessageA(window, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 10), 0);
    SendMessageA(window, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 7), 0);
    EXPECT_EQ(ReadBar(window, SB_HORZ).nPos, 10);
    EXPECT_EQ(ReadBar(window, SB_VERT).nPos, 7);
}

int setCellCount(const MapDocument& document) {
    int count = 0;
    for (const CellRow& row : document.cells)
        for (std::uint8_t cell : row) count += cell;
    return count;
}

// A stroke held across a change of the view or of the map goes on from
// where the pointer is, never from a cell the pointer was over before.
TEST_F(GridEditorTest, AStrokeDrawsNoLineAcrossAScrollOrANewMap) {
    currentMap.resizeGrid(100, 100);
    UpdateScrollBars(window);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    scroll(WM_HSCROLL, SB_PAGEDOWN);
    ASSERT_EQ(ReadBar(window, SB_HORZ).nPos, 49);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(4, 100));
    EXPECT_EQ(currentMap.cells[0][0], 1);
    EXPECT_EQ(currentMap.cells[12][49], 1);
    EXPECT_EQ(setCellCount(currentMap), 2) << "a line from the cell before the scroll";

    window = ResetMainWindow(400, 400);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    DialogWatcher yes([](HWND box) { PressButton(box, IDYES); });
    SendMessageA(window, WM_COMMAND, IDM_NEW, 0);
    ASSERT_TRUE(yes.handled());
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 100));
    EXPECT_EQ(currentMap.cells[12][12], 1);
    EXPECT_EQ(setCellCount(currentMap), 1) << "a line from the cell on the replaced map";
}

TEST_F(GridEditorTest, MouseMessagesEditTheCellsUnderThePointerAtScrollOffsets) {
    currentMap.resizeGrid(100, 100);
    UpdateScrollBars(window);
    SetScrollPos(window, SB_HORZ, 3, FALSE);
    SetScrollPos(window, SB_VERT, 5, FALSE);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(17, 9));
    EXPECT_EQ(currentMap.cells[6][5], 1);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(17 + 8 * 4, 9));
    for (int x = 5; x <= 9; ++x) EXPECT_EQ(currentMap.cells[6][x], 1) << x;
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(17 + 8 * 4, 9));
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(17 + 8 * 2, 9));
    EXPECT_EQ(currentMap.cells[6][7], 0);
    SendMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(17 + 8 * 2, 9));
    EXPECT_EQ(currentMap.cells[6][8], 1);
}

TEST_F(GridEditorTest, PressOffTheGridDoesNotRepaintButAMoveDoes) {
    ValidateRect(window, nullptr);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(396, 399));  // cell 49, 49
    EXPECT_EQ(currentMap.cells[49][49], 1);
    EXPECT_TRUE(updatePending());
    SetClientSize(window, 500, 500);
    ValidateRect(window, nullptr);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, 10));  // cell 50: off
    EXPECT_FALSE(updatePending());
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(420, 10));
    EXPECT_TRUE(updatePending());
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(420, 10));
}

// The window's client area, copied from its device context after a paint.
std::vector<std::uint32_t> CaptureClient(HWND window, int width, int height, HDC source) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<std::uint32_t*>(bits),
                                      static_cast<std::uint32_t*>(bits) + width * height);
    for (auto& pixel : pixels) pixel |= 0xFF000000;  // the screen has no alpha
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    (void)window;
    return pixels;
}

void DrawTestMap() {
    currentMap.resizeGrid(120, 90);
    for (int i = 0; i < 90; ++i) {
        currentMap.setCell(i, i, 1);
        currentMap.setCell((i * 7) % 120, i, 1);
    }
}

TEST_F(GridEditorTest, RealPaintShowsExactlyTheComposedCanvas) {
    DrawTestMap();
    UpdateScrollBars(window);
    SetScrollPos(window, SB_HORZ, 13, FALSE);
    SetScrollPos(window, SB_VERT, 7, FALSE);
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    PumpMessages();
    ViewCanvas expected(400, 400);
    DrawMapView(expected, 13, 7, currentMap.cells);
    ASSERT_EQ(expected.width, 400);
    ASSERT_EQ(expected.height, 400);
    // The scroll offset shows: cell (13, 7) of the diagonal is at the origin.
    EXPECT_EQ(pixelAt(expected, 0, 0), CLEAR_CELL_COLOR);
    EXPECT_EQ(pixelAt(expected, 8 * 0 + 3, 8 * 6 + 3), SET_CELL_COLOR);  // cell (13, 13)

    // Through GDI+ into a memory device context: exactly the canvas.
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 400);
    HGDIOBJ old = SelectObject(memory, bitmap);
    PaintMapView(window, memory, currentMap, ReadScrollPosition(window, SB_HORZ),
                 ReadScrollPosition(window, SB_VERT));
    EXPECT_EQ(CaptureClient(window, 400, 400, memory), expected.pixels);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);

    // And on the window itself, after the real WM_PAINT.
    EXPECT_EQ(CaptureClient(window, 400, 400, screen), expected.pixels);
    ReleaseDC(window, screen);
}

}  // namespace
