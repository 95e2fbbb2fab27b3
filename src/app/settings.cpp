#include "app/settings.h"

#include <algorithm>
#include <cctype>

#include "pair_files/pair_paths.h"
#include "system/code_page.h"

namespace {

constexpr long long LARGEST_SCREEN_EXTENT = 100'000;

// Windows paths are compared without case; only ASCII letters fold, so a
// trail byte of the ANSI code page is never taken for a letter.
bool sameFile(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    bool trailByte = false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        const bool fold = !trailByte && x < 0x80;
        if (fold ? std::tolower(x) != std::tolower(y) : x != y) return false;
        trailByte = !trailByte && IsPathLeadByte(x);
    }
    return true;
}

}  // namespace

void AddRecentFile(std::vector<std::string>& recentFiles, const std::string& path) {
    RemoveRecentFile(recentFiles, path);
    recentFiles.insert(recentFiles.begin(), path);
    if (recentFiles.size() > RECENT_FILE_COUNT) recentFiles.resize(RECENT_FILE_COUNT);
}

void RemoveRecentFile(std::vector<std::string>& recentFiles, const std::string& path) {
    recentFiles.erase(std::remove_if(recentFiles.begin(), recentFiles.end(),
                                     [&](const std::string& file) { return sameFile(file, path); }),
                      recentFiles.end());
}

std::string RecentFileMenuText(std::size_t index, const std::string& path) {
    std::string text = "&" + std::to_string(index + 1) + " ";
    for (const char c : path) text += c == '&' ? std::string("&&") : std::string(1, c);
    return text;
}

std::string FolderOfPath(const std::string& path) {
    const std::string name = FileNameOf(path);
    if (name.size() >= path.size()) return {};
    return path.substr(0, path.size() - name.size());
}

std::optional<WindowPlace> CheckedWindowPlace(long long left, long long top, long long width,
                                              long long height, long long maximized) {
    auto within = [](long long value, long long low) {
        return value >= low && value <= LARGEST_SCREEN_EXTENT;
    };
    if (!within(left, -LARGEST_SCREEN_EXTENT) || !within(top, -LARGEST_SCREEN_EXTENT) ||
        !within(width, 1) || !within(height, 1) || (maximized != 0 && maximized != 1))
        return std::nullopt;
    return WindowPlace{static_cast<int>(left), static_cast<int>(top), static_cast<int>(width),
                       static_cast<int>(height), maximized == 1};
}
