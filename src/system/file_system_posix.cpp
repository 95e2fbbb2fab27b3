// The file-system operations a save needs, natively.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "system/file_lock.h"
#include "system/file_system.h"

Result<void> MoveFileOver(const std::string& from, const std::string& to) {
    return SystemResult(std::rename(from.c_str(), to.c_str()) == 0, FailureKind::WriteFailed, to);
}

Result<void> LinkFile(const std::string& from, const std::string& to) {
    return SystemResult(link(from.c_str(), to.c_str()) == 0, FailureKind::WriteFailed, to);
}

void RemoveFile(const std::string& path) {
    const int failure = errno;
    std::remove(path.c_str());
    errno = failure;
}

FILE* OpenNewForWriting(const std::string& path) {
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) return nullptr;
    FILE* file = fdopen(descriptor, "wb");
    if (!file) close(descriptor);
    return file;
}

// Opened without waiting, so that a FIFO with no writer does not block;
// anything but a regular file is refused before a byte is read.
FILE* OpenForReading(const std::string& path) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return nullptr;
    struct stat status;
    FILE* file = nullptr;
    if (fstat(descriptor, &status) != 0)
        ;
    else if (!S_ISREG(status.st_mode))
        errno = S_ISDIR(status.st_mode) ? EISDIR : ENODEV;
    else if (fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) == 0)
        file = fdopen(descriptor, "rb");
    if (!file) {
        const int failure = errno;
        close(descriptor);
        errno = failure;
    }
    return file;
}

bool IsSameFile(const std::string& a, const std::string& b) {
    struct stat first, second;
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// The owner can be given only by root; a file of another owner keeps ours.
Result<void> KeepPermissions(const std::string& from, const std::string& to) {
    struct stat status;
    if (stat(from.c_str(), &status) != 0)
        return SystemResult(errno == ENOENT, FailureKind::WriteFailed, from);
    if (chown(to.c_str(), status.st_uid, status.st_gid) != 0) errno = 0;
    return SystemResult(chmod(to.c_str(), status.st_mode & 07777) == 0, FailureKind::WriteFailed,
                        to);
}

std::string ResolvedPath(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved)) return resolved;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    struct stat status;
    if (name.empty() || name == "." || name == ".." || lstat(path.c_str(), &status) == 0 ||
        !realpath(folder.c_str(), resolved))
        return path;
    const std::string joined = resolved;
    return joined + (joined.back() == '/' ? "" : "/") + name;
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
Result<void> FlushFolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0) return SystemFailure(FailureKind::WriteFailed, folder);
    const Result<void> flushed =
        SystemResult(fsync(descriptor) == 0, FailureKind::WriteFailed, folder);
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

// A lock file made here can be read by everyone, whatever the umask.
int openLockFile(const std::string& path) {
    int descriptor = open(path.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (descriptor >= 0) {
        fchmod(descriptor, 0644);
        return descriptor;
    }
    if (errno != EEXIST) return -1;
    return open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}

}  // namespace

FileLock LockFile(const std::string& path, int waitMilliseconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    for (;;) {
        // Read-only, since flock needs no more: a lock file that another
        // user's killed save left behind can still be locked by anyone.
        const int descriptor = openLockFile(path);
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
