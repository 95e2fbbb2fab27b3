#pragma once

#include <windows.h>

// Shows the document's values on WM_INITDIALOG; OK stores the seven fields,
// records the change as a step of the EditHistory given as the dialog's
// parameter (DialogBoxParam's lParam), and ends with 1; Cancel ends with 2
// and reads nothing.
INT_PTR CALLBACK ParameterDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
