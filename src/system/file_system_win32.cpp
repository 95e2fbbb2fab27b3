// The file-system operations a save needs, on Windows.
#include <io.h>
#include <windows.h>

#include "system/file_output.h"

// The C library's rename refuses an existing target; MoveFileEx replaces it
// and returns only when the move is on the disk.
bool replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool flushToDisk(FILE* file) { return _commit(_fileno(file)) == 0; }

PathKind pathKind(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Other : PathKind::File;
}

// MOVEFILE_WRITE_THROUGH and the flush of each file already put the folder's
// entries on the disk.
bool flushFolderOf(const std::string&) { return true; }
