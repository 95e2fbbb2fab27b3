// What the window and the dialogs do when memory runs out. No exception may
// leave a window or dialog procedure: it would end the program and take the
// unsaved map with it. Every operation leaves the map whole when an
// allocation fails, so the user is told and carries on.
#pragma once

#include <windows.h>

// The error box for an operation that could not be done for want of memory.
// Allocates nothing itself.
void ReportOutOfMemory(HWND owner);
