#include "view/goto_dialog_win32.h"

#include <new>

#include "resources/resource.h"
#include "view/goto_dialog.h"
#include "view/out_of_memory_win32.h"

namespace {

std::string readField(HWND dialog, int id) {
    char buffer[64] = {};
    GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
    return buffer;
}

INT_PTR handleGotoMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        const auto* texts = reinterpret_cast<const GotoTexts*>(lParam);
        SetDlgItemTextA(dialog, IDC_GOTO_LINE, texts->line.c_str());
        SetDlgItemTextA(dialog, IDC_GOTO_COLUMN, texts->column.c_str());
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
        case IDOK: {
            auto* texts = reinterpret_cast<GotoTexts*>(GetWindowLongPtrA(dialog, DWLP_USER));
            texts->line = readField(dialog, IDC_GOTO_LINE);
            texts->column = readField(dialog, IDC_GOTO_COLUMN);
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

// The texts are copied in and out; should memory run out for them, the
// user is told and the dialog stays.
INT_PTR CALLBACK GotoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return AnswerWithinMemory(dialog, INT_PTR{TRUE},
                              [&] { return handleGotoMessage(dialog, message, wParam, lParam); });
}
