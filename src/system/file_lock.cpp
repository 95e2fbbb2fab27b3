// The lock's moves; taking and releasing it are the platform's
// (file_system_posix.cpp, file_system_win32.cpp).
#include "system/file_lock.h"

#include <utility>

FileLock::FileLock(FileLock&& other) noexcept { *this = std::move(other); }

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    release();
    std::swap(handle, other.handle);
    std::swap(path, other.path);
    return *this;
}
