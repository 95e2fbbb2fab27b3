#include <windows.h>

#include <algorithm>

#include "system/folder_listing.h"

namespace {

bool endsWithIgnoringCase(const std::string& name, const std::string& suffix) {
    return name.size() >= suffix.size() &&
           lstrcmpiA(name.c_str() + name.size() - suffix.size(), suffix.c_str()) == 0;
}

bool search(const std::string& folder, const std::string& relative, const std::string& suffix,
            std::vector<std::string>& found) {
    WIN32_FIND_DATAA entry;
    const HANDLE listing = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) return false;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name, inside = relative + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                search(path, inside + "/", suffix, found);
        } else if (endsWithIgnoringCase(name, suffix)) {
            found.push_back(inside);
        }
    } while (FindNextFileA(listing, &entry));
    FindClose(listing);
    return true;
}

}  // namespace

bool FindFilesBelow(const std::string& folder, const std::string& suffix,
                    std::vector<std::string>& found) {
    found.clear();
    if (!search(folder, "", suffix, found)) return false;
    std::sort(found.begin(), found.end());
    return true;
}

// Both separators are taken; the first characters of a drive ("C:") or a
// share are not folders to make.
bool MakeFolders(const std::string& path) {
    for (size_t at = 0; at < path.size();
         at = static_cast<size_t>(CharNextA(path.c_str() + at) - path.c_str()))
        if ((path[at] == '\\' || path[at] == '/') && at > 0)
            CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
