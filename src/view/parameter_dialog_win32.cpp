#include "view/parameter_dialog_win32.h"

#include <new>
#include <string>

#include "resources/resource.h"
#include "view/out_of_memory_win32.h"
#include "view/parameter_dialog.h"

namespace {

// The system's ANSI code page decides which bytes start a double-byte
// character: on a Western system "é" is one byte, on a Japanese one a lead byte.
bool isAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

void setField(HWND dialog, int id, const std::string& text) {
    SetWindowTextA(GetDlgItem(dialog, id), text.c_str());
}

std::string readField(HWND dialog, int id) {
    char buffer[MAX_FIELD_BYTES + 1] = {};
    GetWindowTextA(GetDlgItem(dialog, id), buffer, sizeof buffer);
    return CutFieldText(buffer, isAnsiLeadByte);
}

void ShowParameters(HWND dialog) {
    const ParameterTexts texts = loadParameterTexts(currentMap);
    setField(dialog, IDC_TIME_SA, texts.rank1);
    setField(dialog, IDC_TIME_AB, texts.rank2);
    setField(dialog, IDC_RATE_SA, texts.rate1);
    setField(dialog, IDC_RATE_AB, texts.rate2);
    setField(dialog, IDC_NAME, texts.name);
    setField(dialog, IDC_SIZE_X, texts.x);
    setField(dialog, IDC_SIZE_Y, texts.y);
}

// The history that a change is recorded in: the dialog's parameter.
EditHistory& historyOf(HWND dialog) {
    return *reinterpret_cast<EditHistory*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void StoreParameters(HWND dialog) {
    ParameterTexts texts;
    texts.rank1 = readField(dialog, IDC_TIME_SA);
    texts.rank2 = readField(dialog, IDC_TIME_AB);
    texts.rate1 = readField(dialog, IDC_RATE_SA);
    texts.rate2 = readField(dialog, IDC_RATE_AB);
    texts.name = readField(dialog, IDC_NAME);
    texts.x = readField(dialog, IDC_SIZE_X);
    texts.y = readField(dialog, IDC_SIZE_Y);
    if (auto step = applyParameterTexts(texts, currentMap))
        RecordStep(historyOf(dialog), std::move(*step));
}

}  // namespace

INT_PTR CALLBACK ParameterDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        ShowParameters(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
        case IDOK:
            // For want of memory the map stays as it was and the dialog stays
            // open, so that the user can choose a smaller size.
            try {
                StoreParameters(dialog);
            } catch (const std::bad_alloc&) {
                ReportOutOfMemory(dialog);
                return TRUE;
            }
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}
