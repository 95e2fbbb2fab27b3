#include "app/mouse_editing_win32.h"

#include "app/mouse_editing.h"
#include "app/view_scrolling_win32.h"

namespace {

// Whether WM_MOUSELEAVE has been requested since the last one arrived.
bool trackingLeave = false;

void TrackLeave(HWND window) {
    if (trackingLeave) return;
    TRACKMOUSEEVENT request = {};
    request.cbSize = sizeof request;
    request.dwFlags = TME_LEAVE;
    request.hwndTrack = window;
    trackingLeave = TrackMouseEvent(&request) != FALSE;
}

MouseEvent EventOf(UINT message) {
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

CellPosition CellFromPoint(HWND window, LPARAM lParam) {
    const int horizontal = ReadScrollPosition(window, SB_HORZ);
    const int vertical = ReadScrollPosition(window, SB_VERT);
    return CellFromPoint(LOWORD(lParam), HIWORD(lParam), horizontal, vertical);
}

void HandleMouseMessage(HWND window, UINT message, LPARAM lParam) {
    const MouseEvent event = EventOf(message);
    if (event == MouseEvent::Leave) {
        trackingLeave = false;
        HandleMouseEvent(event, {0, 0});
        return;
    }
    TrackLeave(window);
    if (HandleMouseEvent(event, CellFromPoint(window, lParam)))
        InvalidateRect(window, nullptr, FALSE);
}
