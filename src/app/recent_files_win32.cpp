#include "app/recent_files_win32.h"

#include <shlobj.h>

#include "resources/resource.h"

namespace {

constexpr int FILE_MENU = 0;
constexpr UINT EXIT_POSITION = 3;  // 新規, 開く, 保存, then the exit item

void insertItem(HMENU menu, UINT position, UINT id, const std::string* text) {
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_FTYPE | (text ? MIIM_STRING : 0);
    item.fType = text ? MFT_STRING : MFT_SEPARATOR;
    item.wID = id;
    item.dwTypeData = text ? const_cast<char*>(text->c_str()) : nullptr;
    InsertMenuItemA(menu, position, TRUE, &item);
}

}  // namespace

void ShowRecentFiles(HWND window, const SettingsState& settings) {
    const HMENU menu = GetSubMenu(GetMenu(window), FILE_MENU);
    DeleteMenu(menu, IDM_RECENT_SEPARATOR, MF_BYCOMMAND);
    DeleteMenu(menu, IDM_RECENT_SEPARATOR + 1, MF_BYCOMMAND);
    for (UINT id = IDM_RECENT_FIRST; id < IDM_RECENT_FIRST + RECENT_FILE_COUNT; ++id)
        DeleteMenu(menu, id, MF_BYCOMMAND);
    const std::vector<std::string>& files = settings.values.recentFiles;
    if (files.empty()) return;
    UINT position = EXIT_POSITION;
    insertItem(menu, position++, IDM_RECENT_SEPARATOR, nullptr);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string text = RecentFileMenuText(i, files[i]);
        insertItem(menu, position++, IDM_RECENT_FIRST + static_cast<UINT>(i), &text);
    }
    insertItem(menu, position, IDM_RECENT_SEPARATOR + 1, nullptr);
}

void NoteRecentFile(HWND window, SettingsState& settings, const std::string& path) {
    AddRecentFile(settings.values.recentFiles, path);
    ShowRecentFiles(window, settings);
    WriteRecentFiles(settings);
    if (settings.remembered) SHAddToRecentDocs(SHARD_PATHA, path.c_str());
}

void ForgetRecentFile(HWND window, SettingsState& settings, const std::string& path) {
    RemoveRecentFile(settings.values.recentFiles, path);
    ShowRecentFiles(window, settings);
    WriteRecentFiles(settings);
}

const std::string* RecentFileOfCommand(const SettingsState& settings, WORD command) {
    const std::vector<std::string>& files = settings.values.recentFiles;
    if (command < IDM_RECENT_FIRST || command >= IDM_RECENT_FIRST + files.size()) return nullptr;
    return &files[command - IDM_RECENT_FIRST];
}
