// The file-system operations a save needs, natively.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "system/file_output.h"

bool replaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool flushToDisk(FILE* file) { return fsync(fileno(file)) == 0; }

PathKind pathKind(const std::string& path) {
    struct stat status;
    if (stat(path.c_str(), &status) != 0) return PathKind::Missing;
    return S_ISREG(status.st_mode) ? PathKind::File : PathKind::Other;
}

// A rename or a new file is only certain to survive a power cut once the
// folder that lists it has been flushed too.
bool flushFolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0) return false;
    const bool flushed = fsync(descriptor) == 0;
    close(descriptor);
    return flushed;
}
