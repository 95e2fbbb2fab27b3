#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "system/folder_listing.h"

namespace {

bool endsWithIgnoringCase(const std::string& name, const std::string& suffix) {
    return name.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), name.end() - suffix.size(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

bool search(const std::string& folder, const std::string& relative, const std::string& suffix,
            std::vector<std::string>& found) {
    DIR* listing = opendir(folder.c_str());
    if (!listing) return false;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "/" + name, inside = relative + name;
        struct stat status;
        if (lstat(path.c_str(), &status) != 0) continue;
        if (S_ISDIR(status.st_mode))
            search(path, inside + "/", suffix, found);
        else if (endsWithIgnoringCase(name, suffix) && stat(path.c_str(), &status) == 0 &&
                 S_ISREG(status.st_mode))
            found.push_back(inside);
    }
    closedir(listing);
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

bool MakeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0777);
    mkdir(path.c_str(), 0777);
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}
