// What the editor remembers per user between runs, apart from the platform:
// the window's place, the overview, the status bar, the tool and the recent
// files. Each value that is missing or bad stays at its default.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/drawing_tools.h"

constexpr std::size_t RECENT_FILE_COUNT = 8;

struct WindowPlace {
    int left = 0, top = 0, width = 0, height = 0;
    bool maximized = false;
};

struct PointOnScreen {
    int x = 0, y = 0;
};

struct Settings {
    std::optional<WindowPlace> window;  // none: the system places it, as at first start
    bool overviewOpen = false;
    std::optional<PointOnScreen> overviewPlace;
    bool statusBar = false;
    Tool tool = Tool::Pen;
    std::vector<std::string> recentFiles;  // newest first
};

// The pair's grid file moves to the front (once, whatever its spelling's
// case), and the list keeps the newest RECENT_FILE_COUNT.
void AddRecentFile(std::vector<std::string>& recentFiles, const std::string& path);
void RemoveRecentFile(std::vector<std::string>& recentFiles, const std::string& path);

// "&1 C:\maps\stage1.map": a menu item's text, an "&" of the path doubled so
// that it shows as itself.
std::string RecentFileMenuText(std::size_t index, const std::string& path);

// The folder of a path, for a file dialog to open in; empty without one.
std::string FolderOfPath(const std::string& path);

// A window's place as read from storage: none where a size is not positive
// or beyond any screen.
std::optional<WindowPlace> CheckedWindowPlace(long long left, long long top, long long width,
                                              long long height, long long maximized);
