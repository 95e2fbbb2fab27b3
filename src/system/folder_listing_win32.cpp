#include <windows.h>

#include "system/folder_listing.h"

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    WIN32_FIND_DATAA entry;
    const HANDLE listing = FindFirstFileA(JoinPath(folder, "*").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) return false;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        const DWORD attributes = entry.dwFileAttributes;
        entries.push_back({name, (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                                     !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)});
    } while (FindNextFileA(listing, &entry));
    FindClose(listing);
    return true;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return folder + "\\" + name;
}

// Both separators are taken, found character by character (a trail byte of
// Shift_JIS may look like "\"); a drive's "C:" is no folder to make.
bool MakeFolders(const std::string& path) {
    for (const char* at = path.c_str(); *at; at = CharNextA(at))
        if ((*at == '\\' || *at == '/') && at != path.c_str())
            CreateDirectoryA(path.substr(0, static_cast<size_t>(at - path.c_str())).c_str(),
                             nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
