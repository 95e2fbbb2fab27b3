// The remembered settings in the registry, under
// HKEY_CURRENT_USER\Software\Kalmia, each written as soon as it changes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/settings.h"

Settings ReadSettings();

// Only once the editor has started as a program: a window made by the
// tests leaves the user's settings alone.
struct SettingsState {
    bool remembered = false;
    Settings values;
};

void WriteNumberSetting(const SettingsState& settings, const char* name, DWORD value);
void WriteWindowPlace(const SettingsState& settings, HWND window);
void WriteOverviewPlace(const SettingsState& settings, const PointOnScreen& place);
void WriteRecentFiles(const SettingsState& settings);

// Puts the window where it was, maximized or not, on the monitor nearest to
// that place should it lie off every monitor now; shows it.
void ShowWindowWhereItWas(HWND window, const Settings& settings, int showCommand);

// The settings' value names.
constexpr char STATUS_BAR_VALUE[] = "StatusBar";
constexpr char TOOL_VALUE[] = "Tool";
constexpr char OVERVIEW_OPEN_VALUE[] = "OverviewOpen";
