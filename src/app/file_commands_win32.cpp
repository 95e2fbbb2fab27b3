#include "app/file_commands_win32.h"

#include "document/map_document.h"
#include "pair_files/failure_texts.h"
#include "pair_files/map_file_pair.h"
#include "pair_files/pair_paths.h"

char fileDialogPath[MAX_PATH];
OPENFILENAMEA fileDialog;

namespace {

// One filter entry: the description, its pattern, and the closing NUL.
constexpr char MAP_FILE_FILTER[] = "mapdata(*.map)\0*.map\0";

// Everything but the shared path buffer is set afresh for each dialog.
void fillFileDialog(HWND window, const char* title, DWORD flags, const std::string& folder) {
    ZeroMemory(&fileDialog, sizeof fileDialog);
    fileDialog.lStructSize = sizeof fileDialog;
    fileDialog.hwndOwner = window;
    fileDialog.lpstrFilter = MAP_FILE_FILTER;
    fileDialog.lpstrFile = fileDialogPath;
    fileDialog.nMaxFile = MAX_PATH;
    fileDialog.lpstrTitle = title;
    fileDialog.Flags = flags;
    fileDialog.lpstrDefExt = "map";
    fileDialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
}

}  // namespace

bool FileNew(HWND window) {
    if (MessageBoxA(window, "現在の内容を破棄してよろしいですか？", "確認", MB_YESNO) != IDYES)
        return false;
    currentMap = MapDocument();
    return true;
}

namespace {

// The box names the file at fault by the name the user knows: the grid
// file's as shown, or the parameter file's beside it.
std::string fileNameOfFailure(const Failure& failure, const std::string& gridPath,
                              const std::string& gridName) {
    return failure.file == gridPath ? gridName : MakeXmlPath(gridName);
}

// `shownName` is the grid file's name as the failure box names it.
bool openPair(HWND window, const std::string& path, const std::string& shownName) {
    // A save of this pair that died part-way is finished or discarded first;
    // where the folder refuses that, the read still takes the right files.
    RecoverInterruptedSave(path);
    const Result<PairSources> read = ReadMapFilePair(path, currentMap);
    if (!read) {
        const Failure& failure = read.failure();
        const std::string text =
            FailureBoxText(failure, fileNameOfFailure(failure, path, shownName));
        MessageBoxA(window, text.c_str(), "エラー", MB_OK);
        return false;
    }
    return true;
}

}  // namespace

// The dialog tells where the file name starts, so the path is never
// searched for a separator (0x5C is also a trail byte of Shift_JIS).
bool FileOpen(HWND window, const std::string& folder) {
    fillFileDialog(window, "ファイルを開く", OFN_FILEMUSTEXIST, folder);
    if (!GetOpenFileNameA(&fileDialog)) return false;
    return openPair(window, fileDialogPath, fileDialogPath + fileDialog.nFileOffset);
}

bool OpenMapPath(HWND window, const std::string& path, const std::string& shownName) {
    return openPair(window, path, shownName);
}

bool FileSave(HWND window, const std::string& folder) {
    fillFileDialog(window, "名前を付けて保存", OFN_OVERWRITEPROMPT, folder);
    if (!GetSaveFileNameA(&fileDialog)) return false;
    return WriteMapFilePair(fileDialogPath, window);
}

// The box names the file at fault and says why, as the Open's box does.
bool WriteMapFilePair(const char* mapPath, HWND window) {
    const Result<void> written = WriteMapFilePairFiles(mapPath, currentMap);
    if (written) return true;
    const Failure& failure = written.failure();
    const std::string text = FailureBoxText(failure, FileNameOf(failure.file), FailedAction::Save);
    MessageBoxA(window, text.c_str(), "エラー", MB_OK);
    return false;
}
