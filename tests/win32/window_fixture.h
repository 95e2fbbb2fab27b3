// Helpers for driving the real main window from the Windows tests.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

// The Japanese texts of the user interface as the program's narrow strings.
std::string ansi(const char* utf8);

// The main window, created once as the program creates it and shared by all
// tests (destroying a window under Wine without a window manager takes two
// seconds). Each call resets it: a new default map, no scroll offset, no
// button held, the given client size.
HWND ResetMainWindow(int clientWidth, int clientHeight);
void SetClientSize(HWND window, int clientWidth, int clientHeight);
void PumpMessages();

// A top-level dialog (#32770) of this process, enabled and visible, or null.
HWND FindProcessDialog();

// Text of a window, as narrow string.
std::string WindowText(HWND window);

// Waits on a second thread for a dialog of this process to appear while the
// test's own thread sits in a modal loop, then hands it to `action`.
class DialogWatcher {
  public:
    explicit DialogWatcher(std::function<void(HWND)> action);
    ~DialogWatcher();
    // True when a dialog appeared and the action ran.
    bool handled();
    std::string title() const { return dialogTitle; }

  private:
    std::thread worker;
    std::atomic<bool> done{false};
    std::string dialogTitle;
};

// Posts a key press and release to a window, as the keyboard would.
void PostKey(HWND window, WPARAM virtualKey);

// The main window's scroll bar, read with the mask the program uses.
SCROLLINFO ReadBar(HWND window, int bar);
