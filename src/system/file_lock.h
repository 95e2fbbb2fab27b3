// An exclusive lock that one process holds on a file while it changes the
// files beside it. The lock file exists only while it is held: releasing
// the lock removes it. A lock is the operating system's (flock natively, an
// unshared handle on Windows), so a process that dies releases it.
#pragma once

#include <cstdint>
#include <string>

class FileLock {
  public:
    FileLock() = default;
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock() { release(); }

    bool held() const { return handle != NO_HANDLE; }
    // Removes the lock file and lets the next process take it.
    void release();

  private:
    friend FileLock LockFile(const std::string& path, int waitMilliseconds);
    static constexpr std::intptr_t NO_HANDLE = -1;
    std::intptr_t handle = NO_HANDLE;
    std::string path;
};

// Takes the lock on `path`, creating the file, waiting up to
// waitMilliseconds while another process holds it. Not held on failure;
// errno is then EBUSY when another process kept it all that time.
FileLock LockFile(const std::string& path, int waitMilliseconds);
