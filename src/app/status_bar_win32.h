// The status bar (表示 > ステータスバー): a standard one (STATUSCLASSNAME)
// at the bottom of the main window, hidden at first. The map view is the
// client area above it.
#pragma once

#include <windows.h>

#include "app/status_bar.h"

struct StatusBarState {
    HWND bar = nullptr;  // only while shown
    // The map's set cells, kept from each step's masks while the bar shows;
    // counted again when it shows after a new map or steps without it.
    long long setCells = 0;
    bool countStale = true;
    StatusTexts shown;  // what the parts show, so that unchanged ones are left alone
};

void ShowStatusBar(HWND window, StatusBarState& status, bool show);
void ToggleStatusBar(HWND window, StatusBarState& status);
void UpdateStatusMenu(HWND window, const StatusBarState& status);

// WM_SIZE: the bar keeps to the bottom, its parts to their widths.
void PlaceStatusBar(HWND window, const StatusBarState& status);

// The texts of `facts`, where they changed.
void ShowStatusTexts(StatusBarState& status, const StatusFacts& facts);

// The height the bar takes from the client area; 0 while hidden.
int StatusBarHeight(HWND window);
