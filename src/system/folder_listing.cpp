#include "system/folder_listing.h"

#include <algorithm>
#include <cctype>

namespace {

bool endsWithIgnoringCase(const std::string& name, const std::string& suffix) {
    return name.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), name.end() - suffix.size(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

bool search(const std::string& folder, const std::string& relative, const std::string& suffix,
            std::vector<std::string>& found, std::string& unreadable) {
    std::vector<FolderEntry> entries;
    if (!ListFolder(folder, entries)) {
        unreadable = folder;
        return false;
    }
    for (const FolderEntry& entry : entries) {
        const std::string inside = relative + entry.name;
        if (entry.isFolder) {
            if (!search(JoinPath(folder, entry.name), inside + "/", suffix, found, unreadable))
                return false;
        } else if (endsWithIgnoringCase(entry.name, suffix)) {
            found.push_back(inside);
        }
    }
    return true;
}

}  // namespace

bool FindFilesBelow(const std::string& folder, const std::string& suffix,
                    std::vector<std::string>& found, std::string& unreadable) {
    found.clear();
    if (!search(folder, "", suffix, found, unreadable)) return false;
    std::sort(found.begin(), found.end());
    return true;
}
