// Program entry: GDI+ around the one main window and its message loop.
#include <windows.h>
// GDI+ needs the declarations of <windows.h> first.
#include <gdiplus.h>

#include "app/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartupInput startupInput;  // version 1, no callback, background thread
    Gdiplus::GdiplusStartup(&gdiplusToken, &startupInput, nullptr);

    int exitCode = 0;
    if (HWND window = CreateMainWindow(instance)) {
        ShowMainWindowAtStart(window, showCommand);
        RecoverAtStart(window);
        OpenMapAtStart(window, commandLine);
        exitCode = RunMessageLoop(instance);
    }

    Gdiplus::GdiplusShutdown(gdiplusToken);
    return exitCode;
}
