// Helpers for driving the real main window from the Windows tests.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

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

// What a watcher saw of one dialog before its action ran.
struct SeenDialog {
    std::string title;
    std::string text;  // the message of a message box: its longest static text
};

// Waits on a second thread for dialogs of this process to appear, one after
// the other, while the test's own thread sits in a modal loop, and hands each
// to the next action.
class DialogWatcher {
  public:
    explicit DialogWatcher(std::function<void(HWND)> action);
    explicit DialogWatcher(std::vector<std::function<void(HWND)>> actions);
    ~DialogWatcher();
    // True when every action has run.
    bool handled();
    std::string title() const { return seen.empty() ? "" : seen.front().title; }
    const std::vector<SeenDialog>& dialogs() const { return seen; }

  private:
    std::thread worker;
    std::atomic<bool> done{false};
    std::vector<SeenDialog> seen;
};

// The longest text of a dialog's static controls.
std::string StaticText(HWND dialog);

// Puts a path into a file dialog's file name box and presses its OK button.
void ChooseFile(HWND dialog, const std::string& path);
// The file name a file dialog shows.
std::string FileNameBox(HWND dialog);
void PressButton(HWND dialog, int id);

// A key pressed with Ctrl and Shift held or not, through the program's
// accelerator table, as the message loop does; true when it gave a command.
bool PressAcceleratorKey(HWND window, WPARAM virtualKey, bool control = false, bool shift = false);

// Posts a key press and release to a window, as the keyboard would.
void PostKey(HWND window, WPARAM virtualKey);

// The main window's scroll bar, read with the mask the program uses.
SCROLLINFO ReadBar(HWND window, int bar);
