// Hands the window's mouse messages to mouse editing.
#pragma once

#include <windows.h>

#include "app/mouse_editing.h"

// The previous pointer position no longer names the same cell once the view
// scrolled between two mouse messages: the stroke's line starts afresh.
void RestartStrokeIfScrolled(HWND window);

// The cell under the point of a mouse message, at the current scroll positions.
CellPosition CellFromPoint(HWND window, LPARAM lParam);

// For WM_LBUTTONDOWN/UP, WM_RBUTTONDOWN/UP, WM_MOUSEMOVE and WM_MOUSELEAVE.
void HandleMouseMessage(HWND window, UINT message, LPARAM lParam);
