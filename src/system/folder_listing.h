// Folders: the files found below one, and making one.
#pragma once

#include <string>
#include <vector>

// The files below `folder`, searched recursively (links to folders are not
// followed), whose names end in `suffix` in any case: their paths relative to
// `folder`, folder names joined by "/", sorted. False when `folder` or a
// folder below it cannot be read; `unreadable` then names that folder.
bool FindFilesBelow(const std::string& folder, const std::string& suffix,
                    std::vector<std::string>& found, std::string& unreadable);

// One entry of a folder: a file, or a folder to search further (links to
// folders are files here, so that a search never runs in a circle).
struct FolderEntry {
    std::string name;
    bool isFolder = false;
};

// The folder's entries, "." and ".." left out; false when it cannot be read.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries);

// The folder and a name in it, with the platform's separator.
std::string JoinPath(const std::string& folder, const std::string& name);

// Makes the folder and the folders above it that are missing; true when it
// is there afterwards.
bool MakeFolders(const std::string& path);
