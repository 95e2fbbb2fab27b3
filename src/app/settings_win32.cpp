#include "app/settings_win32.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

constexpr char KEY[] = "Software\\Kalmia";

std::optional<long long> readNumber(HKEY key, const char* name) {
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return static_cast<long long>(static_cast<std::int32_t>(value));
}

// A flag is 0 or 1; anything else is the default.
bool readFlag(HKEY key, const char* name, bool fallback) {
    const auto value = readNumber(key, name);
    return value && (*value == 0 || *value == 1) ? *value == 1 : fallback;
}

std::optional<std::string> readText(HKEY key, const char* name) {
    char text[MAX_PATH + 1] = {};
    DWORD type = 0, size = MAX_PATH;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ || text[0] == '\0')
        return std::nullopt;
    return std::string(text);
}

std::string recentValueName(std::size_t index) { return "Recent" + std::to_string(index + 1); }

void readInto(HKEY key, Settings& settings) {
    const auto left = readNumber(key, "WindowLeft"), top = readNumber(key, "WindowTop");
    const auto width = readNumber(key, "WindowWidth"), height = readNumber(key, "WindowHeight");
    const auto maximized = readNumber(key, "WindowMaximized");
    if (left && top && width && height)
        settings.window = CheckedWindowPlace(*left, *top, *width, *height, maximized.value_or(0));
    settings.statusBar = readFlag(key, STATUS_BAR_VALUE, false);
    settings.overviewOpen = readFlag(key, OVERVIEW_OPEN_VALUE, false);
    const auto overviewLeft = readNumber(key, "OverviewLeft");
    const auto overviewTop = readNumber(key, "OverviewTop");
    if (overviewLeft && overviewTop && CheckedWindowPlace(*overviewLeft, *overviewTop, 1, 1, 0))
        settings.overviewPlace =
            PointOnScreen{static_cast<int>(*overviewLeft), static_cast<int>(*overviewTop)};
    const auto tool = readNumber(key, TOOL_VALUE);
    if (tool && *tool >= 0 && *tool <= static_cast<long long>(Tool::Fill))
        settings.tool = static_cast<Tool>(*tool);
    for (std::size_t i = 0; i < RECENT_FILE_COUNT; ++i)
        if (const auto path = readText(key, recentValueName(i).c_str()))
            settings.recentFiles.push_back(*path);
}

// Opens (creating) the key for one write; a failure leaves the setting
// unwritten and editing alone.
void write(const SettingsState& settings, const char* name, DWORD type, const void* bytes,
           DWORD size) {
    if (!settings.remembered) return;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    if (bytes)
        RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(bytes), size);
    else
        RegDeleteValueA(key, name);
    RegCloseKey(key);
}

}  // namespace

Settings ReadSettings() {
    Settings settings;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return settings;
    readInto(key, settings);
    RegCloseKey(key);
    return settings;
}

void WriteNumberSetting(const SettingsState& settings, const char* name, DWORD value) {
    write(settings, name, REG_DWORD, &value, sizeof value);
}

// The place the window has when it is not maximized, and whether it is.
void WriteWindowPlace(const SettingsState& settings, HWND window) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!settings.remembered || !GetWindowPlacement(window, &placement) || IsIconic(window)) return;
    const RECT& normal = placement.rcNormalPosition;
    WriteNumberSetting(settings, "WindowLeft", static_cast<DWORD>(normal.left));
    WriteNumberSetting(settings, "WindowTop", static_cast<DWORD>(normal.top));
    WriteNumberSetting(settings, "WindowWidth", static_cast<DWORD>(normal.right - normal.left));
    WriteNumberSetting(settings, "WindowHeight", static_cast<DWORD>(normal.bottom - normal.top));
    WriteNumberSetting(settings, "WindowMaximized", IsZoomed(window) ? 1 : 0);
}

void WriteOverviewPlace(const SettingsState& settings, const PointOnScreen& place) {
    WriteNumberSetting(settings, "OverviewLeft", static_cast<DWORD>(place.x));
    WriteNumberSetting(settings, "OverviewTop", static_cast<DWORD>(place.y));
}

void WriteRecentFiles(const SettingsState& settings) {
    const std::vector<std::string>& files = settings.values.recentFiles;
    for (std::size_t i = 0; i < RECENT_FILE_COUNT; ++i) {
        const std::string name = recentValueName(i);
        if (i < files.size())
            write(settings, name.c_str(), REG_SZ, files[i].c_str(),
                  static_cast<DWORD>(files[i].size() + 1));
        else
            write(settings, name.c_str(), REG_SZ, nullptr, 0);
    }
}

void ShowWindowWhereItWas(HWND window, const Settings& settings, int showCommand) {
    if (!settings.window) {
        ShowWindow(window, showCommand);
        return;
    }
    const WindowPlace& place = *settings.window;
    RECT rect{place.left, place.top, place.left + place.width, place.top + place.height};
    if (!MonitorFromRect(&rect, MONITOR_DEFAULTTONULL)) {
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor);
        const RECT& work = monitor.rcWork;
        const LONG width = std::min(rect.right - rect.left, work.right - work.left);
        const LONG height = std::min(rect.bottom - rect.top, work.bottom - work.top);
        rect.left = std::max(work.left, std::min(rect.left, work.right - width));
        rect.top = std::max(work.top, std::min(rect.top, work.bottom - height));
        rect.right = rect.left + width;
        rect.bottom = rect.top + height;
    }
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    placement.rcNormalPosition = rect;
    placement.showCmd = place.maximized ? SW_SHOWMAXIMIZED : showCommand;
    SetWindowPlacement(window, &placement);
}
