#include "app/recovery_win32.h"

#include <shlobj.h>

#include <cstdio>

#include "recovery/recovery_copy.h"
#include "system/folder_listing.h"

std::string RecoveryFolder() {
    char localAppData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                                localAppData)))
        return {};
    return JoinPath(JoinPath(localAppData, "Kalmia"), "Recovery");
}

namespace {

// Tells this editor's copies from those of another running at the same
// time, and of one that ran before with the same process number.
std::string instanceName() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char name[64];
    std::snprintf(name, sizeof name, "%04u%02u%02u-%02u%02u%02u-%lu", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond, GetCurrentProcessId());
    return name;
}

}  // namespace

void StartKeepingRecovery(EditorState& editor) {
    const std::string folder = RecoveryFolder();
    if (folder.empty()) return;
    StartRecoveryKeeper(editor.recovery, folder, instanceName(), currentMap);
}

bool OfferRecoveryCopies(HWND window, EditorState& editor) {
    if (!IsKeepingRecovery(editor.recovery)) return false;
    for (RecoveryOffer& offer : FindRecoveryOffers(editor.recovery.folder)) {
        Result<PackedMap> copy = ReadRecoveryCopy(offer.path);
        if (!copy) {
            SetAsideRecoveryCopy(offer.path);
            continue;
        }
        if (MessageBoxA(window, "前回保存されなかった編集が残っています。復元しますか？",
                        "編集の復元", MB_YESNO | MB_ICONQUESTION) != IDYES) {
            RemoveRecoveryCopy(offer);
            continue;
        }
        currentMap = UnpackMap(copy.value());
        FollowAdoptedCopy(editor.recovery, std::move(copy.value()), std::move(offer));
        return true;
    }
    return false;
}

void FollowSavedMap(EditorState& editor) {
    MarkSaved(editor.editing.history);
    FollowSave(editor.recovery);
}

void FollowOtherMapInPlace(EditorState& editor, bool removeCopy) {
    FollowOtherMap(editor.recovery, currentMap, removeCopy);
}

void StopKeepingRecovery(EditorState& editor) { StopRecoveryKeeper(editor.recovery); }
