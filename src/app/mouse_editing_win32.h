// Hands the window's mouse messages to mouse editing.
#pragma once

#include <windows.h>

#include "app/editor_state_win32.h"

// The cell under the point of a mouse message, at the current scroll
// positions, as the current tool reads it.
CellPosition CellFromPoint(HWND window, LPARAM lParam, const ToolState& tools);

// For WM_LBUTTONDOWN/UP, WM_RBUTTONDOWN/UP, WM_MOUSEMOVE and WM_MOUSELEAVE.
void HandleMouseMessage(HWND window, UINT message, LPARAM lParam, EditorState& editor);
