#include "win32/window_fixture.h"

#include <chrono>

#include "app/main_window.h"
#include "app/mouse_editing.h"
#include "app/view_scrolling_win32.h"
#include "document/map_document.h"
#include "xml/code_page.h"

std::string ansi(const char* utf8) { return utf8ToCodePage(CodePage::Ansi, utf8); }

void SetClientSize(HWND window, int clientWidth, int clientHeight) {
    RECT windowRect, clientRect;
    // The menu bar may wrap at another width; adjust twice so the client fits.
    for (int pass = 0; pass < 3; ++pass) {
        GetWindowRect(window, &windowRect);
        GetClientRect(window, &clientRect);
        const int width = windowRect.right - windowRect.left + clientWidth - clientRect.right;
        const int height = windowRect.bottom - windowRect.top + clientHeight - clientRect.bottom;
        SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
        PumpMessages();
    }
}

HWND ResetMainWindow(int clientWidth, int clientHeight) {
    static HWND window = nullptr;
    if (!window) {
        window = CreateMainWindow(GetModuleHandleA(nullptr));
        if (!window) return nullptr;
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
    }
    currentMap = MapDocument();
    ResetMouseEditing();
    SetScrollPos(window, SB_HORZ, 0, FALSE);
    SetScrollPos(window, SB_VERT, 0, FALSE);
    SetClientSize(window, clientWidth, clientHeight);
    UpdateScrollBars(window);
    PumpMessages();
    return window;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

namespace {

BOOL CALLBACK FindDialogOfProcess(HWND window, LPARAM found) {
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == GetCurrentProcessId() && std::string(className) == "#32770" &&
        IsWindowVisible(window) && IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindProcessDialog() {
    HWND found = nullptr;
    EnumWindows(FindDialogOfProcess, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string WindowText(HWND window) {
    char buffer[1024] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

DialogWatcher::DialogWatcher(std::function<void(HWND)> action)
    : worker([this, action] {
          const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
          while (std::chrono::steady_clock::now() < deadline) {
              if (HWND dialog = FindProcessDialog()) {
                  Sleep(100);  // let the dialog finish its initialisation
                  dialogTitle = WindowText(dialog);
                  action(dialog);
                  done = true;
                  return;
              }
              Sleep(20);
          }
      }) {}

DialogWatcher::~DialogWatcher() {
    if (worker.joinable()) worker.join();
}

bool DialogWatcher::handled() {
    if (worker.joinable()) worker.join();
    return done;
}

void PostKey(HWND window, WPARAM virtualKey) {
    PostMessageA(window, WM_KEYDOWN, virtualKey, 1);
    PostMessageA(window, WM_KEYUP, virtualKey, 0xC0000001);
}

SCROLLINFO ReadBar(HWND window, int bar) {
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    GetScrollInfo(window, bar, &info);
    return info;
}
