// The Go to cell dialog (IDD_GOTO). Its lParam is the GotoTexts that fill
// the fields and, on OK, take what was typed.
#pragma once

#include <windows.h>

INT_PTR CALLBACK GotoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
