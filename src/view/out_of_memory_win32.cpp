#include "view/out_of_memory_win32.h"

void ReportOutOfMemory(HWND owner) {
    MessageBoxA(owner, "メモリが足りないため、操作を完了できませんでした。", "エラー",
                MB_OK | MB_ICONERROR);
}
