// Folders: the files found below one, and making one.
#pragma once

#include <string>
#include <vector>

// The files below `folder`, searched recursively (links to folders are not
// followed), whose names end in `suffix` in any case: their paths relative to
// `folder`, folder names joined by "/", sorted. False when `folder` cannot be
// read.
bool FindFilesBelow(const std::string& folder, const std::string& suffix,
                    std::vector<std::string>& found);

// Makes the folder and the folders above it that are missing; true when it
// is there afterwards.
bool MakeFolders(const std::string& path);
