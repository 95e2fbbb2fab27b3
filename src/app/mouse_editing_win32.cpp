#include "app/mouse_editing_win32.h"

#include "app/drawing_tools_win32.h"
#include "app/mouse_editing.h"
#include "app/overview_window_win32.h"
#include "app/view_scrolling_win32.h"

namespace {

// Whether WM_MOUSELEAVE has been requested since the last one arrived.
bool trackingLeave = false;

// The scroll positions of the previous mouse message. When they changed in
// between, the previous cell lies elsewhere under the pointer and a line to
// it would cross cells the pointer never touched.
struct Origin {
    int horizontal = 0;
    int vertical = 0;
    bool operator!=(const Origin& other) const {
        return horizontal != other.horizontal || vertical != other.vertical;
    }
} strokeOrigin;

void trackLeave(HWND window) {
    if (trackingLeave) return;
    TRACKMOUSEEVENT request = {};
    request.cbSize = sizeof request;
    request.dwFlags = TME_LEAVE;
    request.hwndTrack = window;
    trackingLeave = TrackMouseEvent(&request) != FALSE;
}

MouseEvent eventOf(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
            return MouseEvent::LeftDown;
        case WM_LBUTTONUP:
            return MouseEvent::LeftUp;
        case WM_RBUTTONDOWN:
            return MouseEvent::RightDown;
        case WM_RBUTTONUP:
            return MouseEvent::RightUp;
        case WM_MOUSELEAVE:
            return MouseEvent::Leave;
        default:
            return MouseEvent::Move;
    }
}

}  // namespace

void RestartStrokeIfScrolled(HWND window) {
    const Origin origin{ReadScrollPosition(window, SB_HORZ), ReadScrollPosition(window, SB_VERT)};
    if (origin != strokeOrigin) RestartStroke();
    strokeOrigin = origin;
}

// The pen reads the point as the message's two unsigned words; the other
// tools keep the mouse while dragging, so the point may lie left of or above
// the window and is read signed.
CellPosition CellFromPoint(HWND window, LPARAM lParam) {
    const Origin origin{ReadScrollPosition(window, SB_HORZ), ReadScrollPosition(window, SB_VERT)};
    if (currentTool != Tool::Pen)
        return CellFromSignedPoint(static_cast<short>(LOWORD(lParam)),
                                   static_cast<short>(HIWORD(lParam)), origin.horizontal,
                                   origin.vertical);
    return CellFromPoint(LOWORD(lParam), HIWORD(lParam), origin.horizontal, origin.vertical);
}

void HandleMouseMessage(HWND window, UINT message, LPARAM lParam) {
    const MouseEvent event = eventOf(message);
    if (event == MouseEvent::Leave) {
        trackingLeave = false;
        HandleMouseEvent(event, {0, 0}, currentMap, editHistory);
        return;
    }
    trackLeave(window);
    RestartStrokeIfScrolled(window);
    if (HandleMouseEvent(event, CellFromPoint(window, lParam), currentMap, editHistory))
        InvalidateRect(window, nullptr, FALSE);
    OverviewFollowCells(CellsChangedByLastEvent());
    FollowShapeDrag(window);
}
