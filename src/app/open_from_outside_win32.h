// Maps that come from outside the File menu: the path on the command line at
// start, and .map files dropped on the window from Explorer.
#pragma once

#include <windows.h>

#include <string>

// True when the pair was opened; a refused one has shown the failure box.
// `opened` is the grid file's path.
bool OpenCommandLineMap(HWND window, const char* commandLine, std::string& opened);

// Opens the first .map of the dropped files; true when one was opened.
bool OpenDroppedMap(HWND window, HDROP drop, std::string& opened);
