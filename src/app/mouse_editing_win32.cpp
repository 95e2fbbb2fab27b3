#include "app/mouse_editing_win32.h"

#include "app/drawing_tools_win32.h"
#include "app/overview_window_win32.h"
#include "app/view_scrolling_win32.h"

namespace {

void trackLeave(HWND window, MouseTracking& mouse) {
    if (mouse.leaveRequested) return;
    TRACKMOUSEEVENT request = {};
    request.cbSize = sizeof request;
    request.dwFlags = TME_LEAVE;
    request.hwndTrack = window;
    mouse.leaveRequested = TrackMouseEvent(&request) != FALSE;
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

// The previous pointer position no longer names the same cell once the view
// scrolled between two mouse messages: the stroke's line starts afresh.
void restartStrokeIfScrolled(HWND window, MouseTracking& mouse, StrokeState& stroke) {
    const int horizontal = ReadScrollPosition(window, SB_HORZ);
    const int vertical = ReadScrollPosition(window, SB_VERT);
    if (horizontal != mouse.horizontal || vertical != mouse.vertical) RestartStroke(stroke);
    mouse.horizontal = horizontal, mouse.vertical = vertical;
}

}  // namespace

// The pen reads the point as the message's two unsigned words; the other
// tools keep the mouse while dragging, so the point may lie left of or above
// the window and is read signed.
CellPosition CellFromPoint(HWND window, LPARAM lParam, const ToolState& tools) {
    const int horizontal = ReadScrollPosition(window, SB_HORZ);
    const int vertical = ReadScrollPosition(window, SB_VERT);
    if (tools.current != Tool::Pen)
        return CellFromSignedPoint(static_cast<short>(LOWORD(lParam)),
                                   static_cast<short>(HIWORD(lParam)), horizontal, vertical);
    return CellFromPoint(LOWORD(lParam), HIWORD(lParam), horizontal, vertical);
}

void HandleMouseMessage(HWND window, UINT message, LPARAM lParam, EditorState& editor) {
    const MouseEvent event = eventOf(message);
    EditingState& editing = editor.editing;
    if (event == MouseEvent::Leave) {
        editor.mouse.leaveRequested = false;
        editor.mouse.pointer.reset();
        HandleMouseEvent(event, {0, 0}, currentMap, editing);
        return;
    }
    trackLeave(window, editor.mouse);
    restartStrokeIfScrolled(window, editor.mouse, editing.stroke);
    const CellPosition cell = CellFromPoint(window, lParam, editing.tools);
    editor.mouse.pointer = cell;
    const EditOutcome outcome = HandleMouseEvent(event, cell, currentMap, editing);
    if (outcome.repaint) InvalidateRect(window, nullptr, FALSE);
    OverviewFollowCells(editor.overview, outcome.changed);
    FollowShapeDrag(window, editing.tools);
}
