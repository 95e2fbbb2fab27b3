#include "app/view_scrolling_win32.h"

#include <algorithm>
#include <tuple>

#include "app/scroll_bar.h"
#include "app/status_bar_win32.h"
#include "document/map_document.h"
#include "view/map_view.h"

namespace {

constexpr UINT RANGE_AND_PAGE_MASK = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;  // 0x0B
constexpr UINT WHOLE_BAR_MASK = SIF_ALL | SIF_DISABLENOSCROLL;                    // 0x1F

SCROLLINFO readScrollBar(HWND window, int bar) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = WHOLE_BAR_MASK;
    GetScrollInfo(window, bar, &info);
    return info;
}

void setRangeAndPage(HWND window, int bar, int count, int clientExtent, BOOL redraw) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = RANGE_AND_PAGE_MASK;
    info.nMin = 0;
    info.nMax = count;
    // A client under one cell gives a negative page, which counts as larger
    // than the range. Wine keeps the page signed and would make it 0, so the
    // whole range is passed as Windows would clamp it.
    const int page = PageForClientExtent(clientExtent);
    info.nPage = page < 0 ? static_cast<UINT>(count) + 1 : static_cast<UINT>(page);
    SetScrollInfo(window, bar, &info, redraw);
}

}  // namespace

int ReadScrollPosition(HWND window, int bar) { return readScrollBar(window, bar).nPos; }

RECT ViewClientRect(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    client.bottom = std::max(0L, client.bottom - StatusBarHeight(window));
    return client;
}

void UpdateScrollBars(HWND window) {
    const RECT client = ViewClientRect(window);
    const std::pair<int, int> columnsAndRows{currentMap.gridSize()};
    setRangeAndPage(window, SB_VERT, columnsAndRows.second, client.bottom, FALSE);
    setRangeAndPage(window, SB_HORZ, columnsAndRows.first, client.right, TRUE);
}

bool HandleScrollMessage(HWND window, int bar, WPARAM wParam) {
    SCROLLINFO info = readScrollBar(window, bar);
    // Grids of more than 65535 cells are tracked to their end through the
    // bar's 32-bit tracking position.
    const int thumb = ThumbPosition(info.nTrackPos, HIWORD(wParam));
    const int delta =
        ScrollDelta(LOWORD(wParam), thumb, info.nMax, static_cast<int>(info.nPage), info.nPos);
    if (delta == 0) return false;
    info.nPos += delta;
    SetScrollInfo(window, bar, &info, TRUE);
    InvalidateRect(window, nullptr, TRUE);
    return true;
}

bool ScrollByCells(HWND window, int bar, int cells) {
    SCROLLINFO info = readScrollBar(window, bar);
    const int before = info.nPos;
    info.fMask = SIF_POS;
    info.nPos = static_cast<int>(std::clamp(static_cast<long long>(info.nPos) + cells, 0LL,
                                            static_cast<long long>(info.nMax)));
    SetScrollInfo(window, bar, &info, TRUE);  // the bar keeps it within its page
    if (ReadScrollPosition(window, bar) == before) return false;
    InvalidateRect(window, nullptr, FALSE);
    return true;
}

// Shift turns the wheel across; the tilt wheel goes across by itself.
bool HandleWheelMessage(HWND window, UINT message, WPARAM wParam, long long& pendingDown,
                        long long& pendingAcross) {
    const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    const bool across = message == WM_MOUSEHWHEEL || (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT);
    UINT lines = 3;
    SystemParametersInfoA(
        across && message == WM_MOUSEHWHEEL ? SPI_GETWHEELSCROLLCHARS : SPI_GETWHEELSCROLLLINES, 0,
        &lines, 0);
    const int bar = across ? SB_HORZ : SB_VERT;
    const int page = static_cast<int>(readScrollBar(window, bar).nPage);
    const int cells = WheelCells(across ? pendingAcross : pendingDown, delta, lines, page);
    // Forward scrolls up, and Shift with forward to the left; a tilt to
    // the right scrolls right.
    return cells != 0 && ScrollByCells(window, bar, message == WM_MOUSEHWHEEL ? cells : -cells);
}

void ScrollToShow(HWND window, const CellArea& area) {
    const SCROLLINFO across = readScrollBar(window, SB_HORZ), down = readScrollBar(window, SB_VERT);
    const bool shown =
        PositionShowing(area.left, area.right, across.nPos, static_cast<int>(across.nPage),
                        across.nMax) == across.nPos &&
        PositionShowing(area.top, area.bottom, down.nPos, static_cast<int>(down.nPage),
                        down.nMax) == down.nPos;
    if (shown || area.empty()) return;
    for (const auto& [bar, info, first, last] :
         {std::tuple{SB_HORZ, across, area.left, area.right},
          std::tuple{SB_VERT, down, area.top, area.bottom}}) {
        SCROLLINFO moved = info;
        moved.fMask = SIF_POS;
        moved.nPos =
            PositionShowing(first, last, info.nPos, static_cast<int>(info.nPage), info.nMax);
        SetScrollInfo(window, bar, &moved, TRUE);
    }
}

void CenterViewOn(HWND window, const CellPosition& cell) {
    for (const auto& [bar, target] : {std::pair{SB_HORZ, cell.x}, std::pair{SB_VERT, cell.y}}) {
        SCROLLINFO info = readScrollBar(window, bar);
        info.fMask = SIF_POS;
        info.nPos = PositionCentering(target, static_cast<int>(info.nPage), info.nMax);
        SetScrollInfo(window, bar, &info, TRUE);
    }
    InvalidateRect(window, nullptr, FALSE);
}

CellArea VisibleCells(HWND window) {
    const RECT client = ViewClientRect(window);
    const int left = ReadScrollPosition(window, SB_HORZ), top = ReadScrollPosition(window, SB_VERT);
    return {left, top, left + (client.right + CELL_SIZE - 1) / CELL_SIZE - 1,
            top + (client.bottom + CELL_SIZE - 1) / CELL_SIZE - 1};
}
