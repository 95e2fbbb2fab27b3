#include "app/edit_commands_win32.h"

#include <optional>

#include "app/mouse_editing.h"
#include "app/overview_window_win32.h"
#include "app/view_scrolling_win32.h"
#include "document/edit_history.h"
#include "resources/resource.h"
#include "view/goto_dialog.h"
#include "view/goto_dialog_win32.h"

namespace {

// The size may have changed; the view shows the changed cells, and the
// overview follows them (or the new size).
void showStep(HWND window, const std::optional<CellArea>& changed, const EditStep& step) {
    if (!changed) return;
    if (step.parameters)
        OverviewFollowMap();
    else
        OverviewFollowCells(step.cells);
    UpdateScrollBars(window);
    ScrollToShow(window, *changed);
    InvalidateRect(window, nullptr, FALSE);
    RestartStroke();
}

}  // namespace

// A stroke still in progress is a step of its own before anything is taken
// back.
void RunUndoCommand(HWND window) {
    FinishStroke(editHistory);
    if (!CanUndo(editHistory)) return;
    const EditStep& step = editHistory.steps[editHistory.done - 1];
    showStep(window, Undo(editHistory, currentMap), step);
}

void RunRedoCommand(HWND window) {
    FinishStroke(editHistory);
    if (!CanRedo(editHistory)) return;
    const EditStep& step = editHistory.steps[editHistory.done];
    showStep(window, Redo(editHistory, currentMap), step);
}

// The dialog opens on the cell in the middle of the view.
void RunGotoCommand(HWND window) {
    const CellArea visible = VisibleCells(window);
    GotoTexts texts =
        GotoTextsFor({(visible.left + visible.right) / 2, (visible.top + visible.bottom) / 2});
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    if (DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_GOTO), window, GotoDlgProc,
                        reinterpret_cast<LPARAM>(&texts)) != IDOK)
        return;
    CenterViewOn(window, GotoCell(texts, currentMap));
    RestartStroke();
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
