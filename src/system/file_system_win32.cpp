// The file-system operations a save needs, on Windows.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>

#include "system/file_lock.h"
#include "system/file_system.h"

namespace {

// A virus scanner or an indexer opens a new file for a moment, without
// sharing it for deletion; such a file is tried again for about a second.
// Another program that keeps the file open keeps refusing, and the call
// fails after that second.
template <typename Operation>
bool retriedWhileHeld(Operation operation) {
    for (int attempt = 0;; ++attempt) {
        if (operation()) return true;
        const DWORD error = GetLastError();
        const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
                          error == ERROR_LOCK_VIOLATION;
        if (!held || attempt == 9) return false;
        Sleep(100);
    }
}

// The failure of the Windows call that just failed, with the system's own
// words for GetLastError's code, in the ANSI code page.
Failure windowsFailure(const std::string& path) {
    const DWORD error = GetLastError();
    char text[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                          text[length - 1] == '.' || text[length - 1] == ' '))
        text[--length] = '\0';
    return {FailureKind::WriteFailed, path, 0, 0,
            length ? std::string(text, length) : "error " + std::to_string(error)};
}

Result<void> windowsResult(bool succeeded, const std::string& path) {
    if (succeeded) return {};
    return windowsFailure(path);
}

unsigned long long joined(DWORD high, DWORD low) {
    return (static_cast<unsigned long long>(high) << 32) | low;
}

}  // namespace

// MoveFileEx replaces an existing target in one step, where the C library's
// rename refuses one.
Result<void> MoveFileOver(const std::string& from, const std::string& to) {
    return windowsResult(retriedWhileHeld([&] {
                             return MoveFileExA(from.c_str(), to.c_str(),
                                                MOVEFILE_REPLACE_EXISTING) != FALSE;
                         }),
                         to);
}

Result<void> LinkFile(const std::string& from, const std::string& to) {
    return windowsResult(retriedWhileHeld([&] {
                             return CreateHardLinkA(to.c_str(), from.c_str(), nullptr) != FALSE;
                         }),
                         to);
}

void RemoveFile(const std::string& path) {
    const int failure = errno;
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        retriedWhileHeld([&] {
            return DeleteFileA(path.c_str()) != FALSE || GetLastError() == ERROR_FILE_NOT_FOUND;
        });
    errno = failure;
}

FILE* OpenNewForWriting(const std::string& path) {
    const int descriptor =
        _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (descriptor < 0) return nullptr;
    FILE* file = _fdopen(descriptor, "wb");
    if (!file) _close(descriptor);
    return file;
}

// Only files on a disk: a pipe or a device where a file should be is refused.
FILE* OpenForReading(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return nullptr;
    if (GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)))) == FILE_TYPE_DISK)
        return file;
    std::fclose(file);
    errno = ENODEV;
    return nullptr;
}

namespace {

bool identityOf(const std::string& path, BY_HANDLE_FILE_INFORMATION& information) {
    const HANDLE file =
        CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(file, &information) != FALSE;
    CloseHandle(file);
    return known;
}

}  // namespace

bool IsSameFile(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION first, second;
    return identityOf(a, first) && identityOf(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
}

// Hidden, system, archive and the like; read-only targets are refused
// before a save begins, so the new file never gets that one.
Result<void> KeepPermissions(const std::string& from, const std::string& to) {
    const DWORD attributes = GetFileAttributesA(from.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return {};
    const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    return windowsResult(
        SetFileAttributesA(to.c_str(), kept ? kept : FILE_ATTRIBUTE_NORMAL) != FALSE, to);
}

std::string ResolvedPath(const std::string& path) {
    char resolved[MAX_PATH * 4];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof resolved, resolved, nullptr);
    return length > 0 && length < sizeof resolved ? std::string(resolved, length) : path;
}

// Asking for the right to delete, while sharing everything, fails only where
// a holder shares the file without FILE_SHARE_DELETE.
bool IsFileHeldOpen(const std::string& path) {
    const HANDLE file =
        CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}

bool IsReadOnlyFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// _commit is documented to write the file's buffers to the disk.
bool FlushToDisk(FILE* file) { return _commit(_fileno(file)) == 0; }

PathKind KindOfPath(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Other : PathKind::File;
}

// A file renamed into place keeps the creation time of its new content, so
// the creation time stands for the file's identity.
FileStamp StampOfFile(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return {};
    return {true, joined(data.ftCreationTime.dwHighDateTime, data.ftCreationTime.dwLowDateTime),
            joined(data.nFileSizeHigh, data.nFileSizeLow),
            joined(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

// Windows documents no call that puts a folder's entries on the disk for a
// program without administrator rights (MOVEFILE_WRITE_THROUGH covers only a
// move made as a copy). So a rename may be lost whole at a power cut; the
// save's journal is written before the renames and removed after them, so
// whatever survives is still a state that recovery understands.
Result<void> FlushFolderOf(const std::string&) { return {}; }

// The lock file was opened to be deleted when its handle closes.
void FileLock::release() {
    if (!held()) return;
    const int failure = errno;
    CloseHandle(reinterpret_cast<HANDLE>(handle));
    handle = NO_HANDLE;
    errno = failure;
}

// An unshared handle is the lock: a second open fails with a sharing
// violation until the holder closes it.
FileLock LockFile(const std::string& path, int waitMilliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        const HANDLE file =
            CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            FileLock lock;
            lock.handle = reinterpret_cast<std::intptr_t>(file);
            lock.path = path;
            return lock;
        }
        const DWORD error = GetLastError();
        const bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
        if (!busy || GetTickCount() - start >= static_cast<DWORD>(waitMilliseconds)) {
            errno = busy ? EBUSY : EACCES;
            return {};
        }
        Sleep(20);
    }
}
