// The Tools menu, its letter keys, and what the window does for a line or
// rectangle being dragged: it keeps the mouse, and Escape drops the shape.
#pragma once

#include <windows.h>

#include "app/drawing_tools.h"

// For the Tools menu's commands (IDM_TOOL_PEN ... IDM_TOOL_FILL).
void RunToolCommand(HWND window, WORD command, ToolState& tools);

// The radio check on the current tool; for WM_INITMENUPOPUP.
void UpdateToolMenu(HWND window, const ToolState& tools);

// WM_KEYDOWN: Escape cancels a line or rectangle being dragged.
LRESULT HandleKeyDown(HWND window, WPARAM key, LPARAM lParam, ToolState& tools);

// WM_CAPTURECHANGED: another window took the mouse, so the drag is dropped.
void HandleCaptureChanged(HWND window, LPARAM newOwner, ToolState& tools);

// Keeps the mouse while a shape is dragged and lets it go after; called
// after each mouse message.
void FollowShapeDrag(HWND window, const ToolState& tools);
