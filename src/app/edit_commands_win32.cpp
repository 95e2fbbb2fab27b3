#include "app/edit_commands_win32.h"

#include <optional>

#include "app/mouse_editing.h"
#include "app/view_scrolling_win32.h"
#include "document/edit_history.h"
#include "resources/resource.h"

namespace {

// A stroke still in progress is a step of its own before anything is taken
// back. The size may have changed; the view shows the changed cells.
void ShowStep(HWND window, const std::optional<CellArea>& changed) {
    if (!changed) return;
    UpdateScrollBars(window);
    ScrollToShow(window, *changed);
    InvalidateRect(window, nullptr, FALSE);
    RestartStroke();
}

}  // namespace

void RunUndoCommand(HWND window) {
    FinishStroke(editHistory);
    ShowStep(window, Undo(editHistory, currentMap));
}

void RunRedoCommand(HWND window) {
    FinishStroke(editHistory);
    ShowStep(window, Redo(editHistory, currentMap));
}

void UpdateEditMenu(HWND window) {
    FinishStroke(editHistory);
    const HMENU menu = GetMenu(window);
    EnableMenuItem(menu, IDM_UNDO, MF_BYCOMMAND | (CanUndo(editHistory) ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_REDO, MF_BYCOMMAND | (CanRedo(editHistory) ? MF_ENABLED : MF_GRAYED));
}

void ForgetEditHistory() {
    FinishStroke(editHistory);
    ClearHistory(editHistory);
}
