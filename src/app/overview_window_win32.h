// The overview window ("全体図"): a tool window owned by the main window that
// shows the whole map and the main view's area, and moves the main view to a
// point clicked or dragged in it. It follows every change of the map and of
// the view through the calls below, which do nothing while it is closed.
#pragma once

#include <windows.h>

#include "app/editor_state_win32.h"

// 表示 > 全体図: opens the overview, or closes it when it is open.
void ToggleOverview(HWND mainWindow, OverviewState& overview);

// The check mark of 表示 > 全体図; for WM_INITMENUPOPUP.
void UpdateOverviewMenu(HWND mainWindow, const OverviewState& overview);

// Cells that an edit changed; their new states are in currentMap.
void OverviewFollowCells(OverviewState& overview, const CellMasks& changed);

// Another map, or another size: counted anew.
void OverviewFollowMap(OverviewState& overview);

// The main view moved or changed its size: the outline follows.
void OverviewFollowView(const OverviewState& overview);
