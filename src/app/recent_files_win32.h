// ファイル's recent files: the last pairs opened or saved, newest first,
// between 保存 and the exit item, remembered in the registry and added to
// the Windows recent documents.
#pragma once

#include <windows.h>

#include <string>

#include "app/settings_win32.h"

// Rebuilds the items from the list.
void ShowRecentFiles(HWND window, const SettingsState& settings);

// A pair opened or saved goes to the front; a pair Open refused leaves.
void NoteRecentFile(HWND window, SettingsState& settings, const std::string& path);
void ForgetRecentFile(HWND window, SettingsState& settings, const std::string& path);

// The path of a recent file's command, or null for another command.
const std::string* RecentFileOfCommand(const SettingsState& settings, WORD command);
