// What the editor keeps beyond the design's own globals (currentMap, the
// instance handle, the title and class names, the two button flags, the
// file dialogs' path and record): one record, which the window procedure
// reaches and whose parts it hands to each handler.
#pragma once

#include <windows.h>

#include <optional>

#include <functional>

#include "app/mouse_editing.h"
#include "app/settings_win32.h"
#include "app/status_bar_win32.h"
#include "recovery/recovery_keeper.h"
#include "view/overview.h"

// The scroll positions of the previous mouse message: when they changed in
// between, the previous cell lies elsewhere under the pointer and a line to
// it would cross cells the pointer never touched. And whether WM_MOUSELEAVE
// has been asked for since the last one came.
// And the cell under the pointer, for the status bar: none once it left;
// and the wheel's turns not yet worth a cell, along each bar.
struct MouseTracking {
    int horizontal = 0, vertical = 0;
    bool leaveRequested = false;
    std::optional<CellPosition> pointer;
    long long wheelDown = 0, wheelAcross = 0;
};

// The overview window (表示 > 全体図) while it is open, the main window it
// follows, and its counts of set cells.
struct OverviewState {
    HWND window = nullptr;
    HWND mainWindow = nullptr;
    OverviewCounts counts;
    bool countsStale = true;             // recounted at the next paint
    std::optional<PointOnScreen> place;  // where it opens
    std::function<void()> changed;       // told when it opens, moves or closes
};

struct EditorState {
    EditingState editing;  // the history, the tool and its drag, the stroke
    MouseTracking mouse;
    OverviewState overview;
    RecoveryKeeper recovery;  // the copy of unsaved work
    StatusBarState status;
    SettingsState settings;  // what is remembered between runs
    // The selection and the scale join here.
};

// The one record of the program's main window.
extern EditorState editor;
