#include "app/edit_commands_win32.h"

#include <optional>

#include "app/overview_window_win32.h"
#include "app/view_scrolling_win32.h"
#include "document/edit_history.h"
#include "resources/resource.h"
#include "view/goto_dialog.h"
#include "view/goto_dialog_win32.h"

namespace {

// The size may have changed; the view shows the changed cells, and the
// overview follows them (or the new size).
void showStep(HWND window, const std::optional<CellArea>& changed, const EditStep& step,
              EditorState& editor) {
    if (!changed) return;
    if (step.parameters)
        OverviewFollowMap(editor.overview);
    else
        OverviewFollowCells(editor.overview, step.cells);
    UpdateScrollBars(window);
    ScrollToShow(window, *changed);
    OverviewFollowView(editor.overview);
    InvalidateRect(window, nullptr, FALSE);
    RestartStroke(editor.editing.stroke);
}

}  // namespace

// A stroke still in progress is a step of its own before anything is taken
// back.
void RunUndoCommand(HWND window, EditorState& editor) {
    EditHistory& history = editor.editing.history;
    FinishStroke(editor.editing);
    if (!CanUndo(history)) return;
    const EditStep& step = history.steps[history.done - 1];
    showStep(window, Undo(history, currentMap), step, editor);
}

void RunRedoCommand(HWND window, EditorState& editor) {
    EditHistory& history = editor.editing.history;
    FinishStroke(editor.editing);
    if (!CanRedo(history)) return;
    const EditStep& step = history.steps[history.done];
    showStep(window, Redo(history, currentMap), step, editor);
}

// The dialog opens on the cell in the middle of the view.
void RunGotoCommand(HWND window, EditorState& editor) {
    const CellArea visible = VisibleCells(window);
    GotoTexts texts =
        GotoTextsFor({(visible.left + visible.right) / 2, (visible.top + visible.bottom) / 2});
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    if (DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_GOTO), window, GotoDlgProc,
                        reinterpret_cast<LPARAM>(&texts)) != IDOK)
        return;
    CenterViewOn(window, GotoCell(texts, currentMap));
    OverviewFollowView(editor.overview);
    RestartStroke(editor.editing.stroke);
}

void UpdateEditMenu(HWND window, EditingState& editing) {
    FinishStroke(editing);
    const HMENU menu = GetMenu(window);
    EnableMenuItem(menu, IDM_UNDO,
                   MF_BYCOMMAND | (CanUndo(editing.history) ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_REDO,
                   MF_BYCOMMAND | (CanRedo(editing.history) ? MF_ENABLED : MF_GRAYED));
}

void ForgetEditHistory(EditingState& editing) {
    FinishStroke(editing);
    ClearHistory(editing.history);
}
