#include "app/status_bar_win32.h"

#include <commctrl.h>

#include "resources/resource.h"

namespace {

// The widths of the parts from the left: the cell, the drag's size, the
// map's size, the set cells and the scale; "変更あり" takes the rest.
constexpr int PART_WIDTHS[PART_COUNT - 1] = {100, 100, 120, 120, 60};

void setParts(HWND bar) {
    int edges[PART_COUNT];
    int right = 0;
    for (int part = 0; part < PART_COUNT - 1; ++part) edges[part] = right += PART_WIDTHS[part];
    edges[PART_COUNT - 1] = -1;
    SendMessageA(bar, SB_SETPARTS, PART_COUNT, reinterpret_cast<LPARAM>(edges));
}

}  // namespace

void ShowStatusBar(HWND window, StatusBarState& status, bool show) {
    if (show == (status.bar != nullptr)) return;
    if (show) {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
        InitCommonControlsEx(&classes);
        status.bar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                     window, reinterpret_cast<HMENU>(IDC_STATUS_BAR),
                                     GetModuleHandleA(nullptr), nullptr);
        status.shown = StatusTexts();
        PlaceStatusBar(window, status);
    } else {
        DestroyWindow(status.bar);
        status.bar = nullptr;
    }
}

void ToggleStatusBar(HWND window, StatusBarState& status) {
    ShowStatusBar(window, status, status.bar == nullptr);
}

void UpdateStatusMenu(HWND window, const StatusBarState& status) {
    CheckMenuItem(GetMenu(window), IDM_STATUS_BAR,
                  MF_BYCOMMAND | (status.bar ? MF_CHECKED : MF_UNCHECKED));
}

void PlaceStatusBar(HWND, const StatusBarState& status) {
    if (!status.bar) return;
    SendMessageA(status.bar, WM_SIZE, 0, 0);
    setParts(status.bar);
}

void ShowStatusTexts(StatusBarState& status, const StatusFacts& facts) {
    if (!status.bar) return;
    const StatusTexts texts = StatusTextsOf(facts);
    for (int part = 0; part < PART_COUNT; ++part) {
        if (texts[part] == status.shown[part]) continue;
        SendMessageA(status.bar, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(texts[part].c_str()));
        status.shown[part] = texts[part];
    }
}

int StatusBarHeight(HWND window) {
    const HWND bar = GetDlgItem(window, IDC_STATUS_BAR);
    if (!bar || !IsWindowVisible(bar)) return 0;
    RECT rect;
    GetWindowRect(bar, &rect);
    return rect.bottom - rect.top;
}
