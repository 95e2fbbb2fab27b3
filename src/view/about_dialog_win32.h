#pragma once

#include <windows.h>

// Closes on IDOK (result 1) and IDCANCEL (result 2); nothing else.
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
