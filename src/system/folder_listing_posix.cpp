#include <dirent.h>
#include <sys/stat.h>

#include "system/folder_listing.h"

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    DIR* listing = opendir(folder.c_str());
    if (!listing) return false;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        struct stat status;
        const std::string path = JoinPath(folder, name);
        if (lstat(path.c_str(), &status) != 0) continue;
        // Anything but a folder is a file here, a FIFO too: its reader
        // refuses it at once as unreadable, instead of passing it over.
        entries.push_back({name, S_ISDIR(status.st_mode)});
    }
    closedir(listing);
    return true;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return folder + "/" + name;
}

bool MakeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0777);
    mkdir(path.c_str(), 0777);
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}
