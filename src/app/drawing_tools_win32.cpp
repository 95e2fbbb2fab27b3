#include "app/drawing_tools_win32.h"

#include "resources/resource.h"

namespace {

constexpr UINT FIRST_TOOL = IDM_TOOL_PEN;
constexpr UINT LAST_TOOL = IDM_TOOL_FILL;

// The preview goes with the shape.
void dropShape(HWND window, ToolState& tools) {
    if (CancelShapeDrag(tools)) InvalidateRect(window, nullptr, FALSE);
    FollowShapeDrag(window, tools);
}

}  // namespace

void RunToolCommand(HWND window, WORD command, ToolState& tools) {
    dropShape(window, tools);
    ChooseTool(tools, static_cast<Tool>(command - FIRST_TOOL));
    UpdateToolMenu(window, tools);
}

void UpdateToolMenu(HWND window, const ToolState& tools) {
    CheckMenuRadioItem(GetMenu(window), FIRST_TOOL, LAST_TOOL,
                       FIRST_TOOL + static_cast<UINT>(tools.current), MF_BYCOMMAND);
}

LRESULT HandleKeyDown(HWND window, WPARAM key, LPARAM lParam, ToolState& tools) {
    if (key == VK_ESCAPE) {
        dropShape(window, tools);
        return 0;
    }
    return DefWindowProcA(window, WM_KEYDOWN, key, lParam);
}

void HandleCaptureChanged(HWND window, LPARAM newOwner, ToolState& tools) {
    if (reinterpret_cast<HWND>(newOwner) != window) dropShape(window, tools);
}

void FollowShapeDrag(HWND window, const ToolState& tools) {
    if (IsShapeDragged(tools)) {
        if (GetCapture() != window) SetCapture(window);
    } else if (GetCapture() == window) {
        ReleaseCapture();
    }
}
