// The view origin lives in the window's two scroll bars, counted in cells.
// Whoever moves the view tells the overview (app/overview_window_win32.h).
#pragma once

#include <windows.h>

#include "document/cell_masks.h"

// The client area the map view takes: all of it but the status bar.
RECT ViewClientRect(HWND window);

void UpdateScrollBars(HWND window);
// True when the view moved.
bool HandleScrollMessage(HWND window, int bar, WPARAM wParam);

// Moves the view `cells` along one bar, as far as the bar allows; true when
// it moved.
bool ScrollByCells(HWND window, int bar, int cells);

// WM_MOUSEWHEEL (Shift: across) and WM_MOUSEHWHEEL; `pending` keeps the
// turns not yet worth a cell. True when the view moved.
bool HandleWheelMessage(HWND window, UINT message, WPARAM wParam, long long& pendingDown,
                        long long& pendingAcross);

// nPos of SB_HORZ or SB_VERT: the first visible column or row.
int ReadScrollPosition(HWND window, int bar);

// Scrolls so that some of `area` shows, when none of it does.
void ScrollToShow(HWND window, const CellArea& area);

// Scrolls so that `cell` is as near the middle of the view as the bars allow.
void CenterViewOn(HWND window, const CellPosition& cell);

// The cells the view shows, the last ones perhaps in part.
CellArea VisibleCells(HWND window);
