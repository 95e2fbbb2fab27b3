#include "app/drawing_tools_win32.h"

#include "app/drawing_tools.h"
#include "resources/resource.h"

namespace {

constexpr UINT FIRST_TOOL = IDM_TOOL_PEN;
constexpr UINT LAST_TOOL = IDM_TOOL_FILL;

// The preview goes with the shape.
void dropShape(HWND window) {
    if (CancelShapeDrag()) InvalidateRect(window, nullptr, FALSE);
    FollowShapeDrag(window);
}

}  // namespace

void RunToolCommand(HWND window, WORD command) {
    dropShape(window);
    ChooseTool(static_cast<Tool>(command - FIRST_TOOL));
    UpdateToolMenu(window);
}

void UpdateToolMenu(HWND window) {
    CheckMenuRadioItem(GetMenu(window), FIRST_TOOL, LAST_TOOL,
                       FIRST_TOOL + static_cast<UINT>(currentTool), MF_BYCOMMAND);
}

LRESULT HandleKeyDown(HWND window, WPARAM key, LPARAM lParam) {
    if (key == VK_ESCAPE) {
        dropShape(window);
        return 0;
    }
    return DefWindowProcA(window, WM_KEYDOWN, key, lParam);
}

void HandleCaptureChanged(HWND window, LPARAM newOwner) {
    if (reinterpret_cast<HWND>(newOwner) != window) dropShape(window);
}

void FollowShapeDrag(HWND window) {
    if (IsShapeDragged()) {
        if (GetCapture() != window) SetCapture(window);
    } else if (GetCapture() == window) {
        ReleaseCapture();
    }
}
