// Replacing a file on Windows: the C library's rename refuses an existing
// target, MoveFileEx replaces it and waits until the move is on the disk.
#include <windows.h>

#include "document/file_output.h"

bool replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}
