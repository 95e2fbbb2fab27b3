// The file-system operations a save needs, natively.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

#include "system/file_lock.h"
#include "system/file_output.h"

bool MoveFileOver(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool LinkFile(const std::string& from, const std::string& to) {
    return link(from.c_str(), to.c_str()) == 0;
}

void RemoveFile(const std::string& path) {
    const int failure = errno;
    std::remove(path.c_str());
    errno = failure;
}

bool IsFileHeldOpen(const std::string&) { return false; }

bool IsReadOnlyFile(const std::string&) { return false; }

bool FlushToDisk(FILE* file) { return fsync(fileno(file)) == 0; }

PathKind KindOfPath(const std::string& path) {
    struct stat status;
    if (stat(path.c_str(), &status) != 0) return PathKind::Missing;
    return S_ISREG(status.st_mode) ? PathKind::File : PathKind::Other;
}

FileStamp StampOfFile(const std::string& path) {
    struct stat status;
    if (stat(path.c_str(), &status) != 0) return {};
    const auto nanoseconds =
        static_cast<unsigned long long>(status.st_mtim.tv_sec) * 1000000000ULL +
        static_cast<unsigned long long>(status.st_mtim.tv_nsec);
    return {true, static_cast<unsigned long long>(status.st_ino),
            static_cast<unsigned long long>(status.st_size), nanoseconds};
}

// A rename or a new file is only certain to survive a power cut once the
// folder that lists it has been flushed too.
bool FlushFolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0) return false;
    const bool flushed = fsync(descriptor) == 0;
    close(descriptor);
    return flushed;
}

// The file goes while the lock is still held: a process waiting on the old
// file then finds that it is no longer the one of that name, and tries anew.
void FileLock::release() {
    if (!held()) return;
    const int failure = errno;
    unlink(path.c_str());
    close(static_cast<int>(handle));
    handle = NO_HANDLE;
    errno = failure;
}

namespace {

bool isSameFile(int descriptor, const std::string& path) {
    struct stat held, named;
    return fstat(descriptor, &held) == 0 && stat(path.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace

FileLock LockFile(const std::string& path, int waitMilliseconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    for (;;) {
        const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (descriptor < 0) return {};
        if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            if (isSameFile(descriptor, path)) {
                FileLock lock;
                lock.handle = descriptor;
                lock.path = path;
                return lock;
            }
            close(descriptor);  // its holder removed it as we took it
            continue;
        }
        const int failure = errno;
        close(descriptor);
        if (failure != EWOULDBLOCK) {
            errno = failure;
            return {};
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            errno = EBUSY;
            return {};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}
