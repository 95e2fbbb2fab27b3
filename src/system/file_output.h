// Writing files with every error checked: opening, writing, flushing to the
// disk and closing all count, so a full disk is a failure, not a silent
// success.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Opens a file for writing in binary mode (we write our own line ends).
FILE* OpenForWriting(const std::string& path);

// Flushes the file to the disk and closes it; true only if everything
// written so far (`writtenSoFar`) and the flush and close all succeeded.
bool FinishWriting(FILE* file, bool writtenSoFar);

bool WriteWholeFile(const std::string& path, std::string_view bytes);

// The whole file, or false if it cannot be read or is larger than maxBytes.
bool ReadWholeFile(const std::string& path, long long maxBytes, std::string& bytes);

// Replaces `to` by `from` in one step (rename over an existing file), so
// that `to` names either file at every moment. False if the folder or the
// target refuses it.
bool MoveFileOver(const std::string& from, const std::string& to);

// Gives the file `from` the second name `to` (a hard link). False where the
// file system has no hard links or refuses one.
bool LinkFile(const std::string& from, const std::string& to);

// Removes a file if it is there. For cleaning up after a failure, so it
// leaves errno as the failure set it.
void RemoveFile(const std::string& path);

// True where another program keeps the file open without letting it be
// deleted or renamed (Windows sharing modes); never natively, where an open
// file can always be renamed.
bool IsFileHeldOpen(const std::string& path);

// True for a file that the platform protects from being replaced: the
// read-only attribute on Windows. Natively a file's permissions guard its
// content, not its name, so nothing counts here.
bool IsReadOnlyFile(const std::string& path);

// Writes the content of `from` over `to` in place (the same file, truncated
// and rewritten), for targets that another program keeps open and that can
// therefore not be replaced. False if anything could not be read or written;
// `targetOpened` then tells whether the target may have been changed.
bool CopyFileContent(const std::string& from, const std::string& to, bool* targetOpened = nullptr);

enum class PathKind { Missing, File, Other };
PathKind KindOfPath(const std::string& path);

// What tells one version of a file from the next without reading it: a
// reader compares the stamps from before and after it read a pair.
struct FileStamp {
    bool present = false;
    unsigned long long identity = 0, size = 0, modified = 0;
    bool operator==(const FileStamp& other) const {
        return present == other.present && identity == other.identity && size == other.size &&
               modified == other.modified;
    }
};
FileStamp StampOfFile(const std::string& path);

// Puts what was written to the file and flushed from its buffer on the disk.
bool FlushToDisk(FILE* file);

// Puts the folder's list of files on the disk (new files, renames); true
// where the platform does that by itself.
bool FlushFolderOf(const std::string& path);
