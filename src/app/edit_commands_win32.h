// Undo and redo from the Edit menu and their keys, and the menu's state.
#pragma once

#include <windows.h>

void RunUndoCommand(HWND window);
void RunRedoCommand(HWND window);

// 編集 > セルへ移動: the Go to cell dialog, then the view centred on the cell.
void RunGotoCommand(HWND window);

// Greys "元に戻す" and "やり直し" when there is nothing to undo or redo; for
// WM_INITMENUPOPUP, before the menu shows.
void UpdateEditMenu(HWND window);

// New or Open put another map in place: the history starts afresh.
void ForgetEditHistory();
