#include "win32/window_fixture.h"

#include <chrono>

#include "app/editor_state_win32.h"
#include "app/main_window.h"
#include "app/view_scrolling_win32.h"
#include "core/mouse_editing_reset.h"
#include "document/map_document.h"
#include "resources/resource.h"
#include "system/code_page.h"

std::string ansi(const char* utf8) { return Utf8ToCodePage(CodePage::Ansi, utf8); }

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
    ForgetMouseEditing();
    editor.editing = EditingState();
    FollowEditHistory(editor);
    ShowStatusBar(window, editor.status, false);
    editor.mouse = MouseTracking();
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
    : DialogWatcher(std::vector<std::function<void(HWND)>>{std::move(action)}) {}

DialogWatcher::DialogWatcher(std::vector<std::function<void(HWND)>> actions)
    : worker([this, actions] {
          HWND previous = nullptr;
          for (const auto& action : actions) {
              const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
              HWND dialog = nullptr;
              while (!dialog && std::chrono::steady_clock::now() < deadline) {
                  dialog = FindProcessDialog();
                  if (dialog == previous && IsWindow(previous)) dialog = nullptr;
                  if (!dialog) Sleep(20);
              }
              if (!dialog) return;
              Sleep(150);  // let the dialog finish its initialisation
              seen.push_back({WindowText(dialog), StaticText(dialog)});
              action(dialog);
              previous = dialog;
          }
          done = true;
      }) {}

DialogWatcher::~DialogWatcher() {
    if (worker.joinable()) worker.join();
}

bool DialogWatcher::handled() {
    if (worker.joinable()) worker.join();
    return done;
}

namespace {

void SetModifierKeys(bool control, bool shift) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = control ? 0x80 : 0;
    keys[VK_SHIFT] = keys[VK_LSHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
}

}  // namespace

bool PressAcceleratorKey(HWND window, WPARAM virtualKey, bool control, bool shift) {
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN));
    SetModifierKeys(control, shift);
    MSG message = {window, WM_KEYDOWN, virtualKey, 1, 0, {}};
    const bool translated = TranslateAcceleratorA(window, table, &message) != 0;
    SetModifierKeys(false, false);
    return translated;
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

namespace {

BOOL CALLBACK CollectLongestStatic(HWND child, LPARAM found) {
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0) {
        auto* longest = reinterpret_cast<std::string*>(found);
        const std::string text = WindowText(child);
        if (text.size() > longest->size()) *longest = text;
    }
    return TRUE;
}

// The file name box of both the old-style and the Explorer-style dialogs.
constexpr int FILE_NAME_EDIT = 0x480;
constexpr int FILE_NAME_COMBO = 0x47C;

HWND FileNameControl(HWND dialog) {
    if (HWND edit = GetDlgItem(dialog, FILE_NAME_EDIT)) return edit;
    return GetDlgItem(dialog, FILE_NAME_COMBO);
}

}  // namespace

std::string StaticText(HWND dialog) {
    std::string longest;
    EnumChildWindows(dialog, CollectLongestStatic, reinterpret_cast<LPARAM>(&longest));
    return longest;
}

void ChooseFile(HWND dialog, const std::string& path) {
    SendMessageA(FileNameControl(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PressButton(dialog, IDOK);
}

std::string FileNameBox(HWND dialog) { return WindowText(FileNameControl(dialog)); }

void PressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
