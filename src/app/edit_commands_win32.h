// Undo, redo and Go to from the Edit menu and their keys, and the menu's state.
#pragma once

#include <windows.h>

#include "app/editor_state_win32.h"

void RunUndoCommand(HWND window, EditorState& editor);
void RunRedoCommand(HWND window, EditorState& editor);

// 編集 > セルへ移動: the Go to cell dialog, then the view centred on the cell.
void RunGotoCommand(HWND window, EditorState& editor);

// Greys "元に戻す" and "やり直し" when there is nothing to undo or redo; for
// WM_INITMENUPOPUP, before the menu shows.
void UpdateEditMenu(HWND window, EditingState& editing);

// New or Open put another map in place: the history starts afresh.
void ForgetEditHistory(EditingState& editing);
