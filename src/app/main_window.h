// The main window: its class, its window procedure and the message loop.
#pragma once

#include <windows.h>

#include "app/editor_state_win32.h"

extern HINSTANCE appInstance;
extern char windowTitle[100];
extern char windowClassName[100];

void RegisterMainWindowClass(HINSTANCE instance);

// Sets the history's follower: the status bar's count of set cells and the
// recovery copy follow each step. At WM_CREATE, and after a test replaces
// the editing state.
void FollowEditHistory(EditorState& state);

// Loads the title and class name, registers the class, stores the instance
// and creates the window (WM_CREATE sets up the scroll bars). Null on failure.
HWND CreateMainWindow(HINSTANCE instance);

// Shows the window as the user left it (the first time as the system
// places it) and starts remembering the settings.
void ShowMainWindowAtStart(HWND window, int showCommand);

// Starts keeping a recovery copy of unsaved work, and offers the copies
// that editors which no longer run left, before anything else opens.
void RecoverAtStart(HWND window);

// Opens the pair named on the command line (kalmia.exe PATH), as Open does;
// a refused one shows the failure box and the default map stays.
void OpenMapAtStart(HWND window, const char* commandLine);

// Runs until WM_QUIT, translating the accelerators of table IDR_MAIN on each
// message's own window; returns the quit message's wParam.
int RunMessageLoop(HINSTANCE instance);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
