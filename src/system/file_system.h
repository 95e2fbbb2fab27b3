// The file system, with every error checked: opening, writing, flushing to
// the disk and closing all count, so a full disk is a failure, not a silent
// success. What can fail returns a Result with the system's reason.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "system/failure.h"

// Opens a file for writing in binary mode (we write our own line ends);
// nullptr with errno set where it cannot.
FILE* OpenForWriting(const std::string& path);

// The same for a file that must not exist yet: nullptr (errno EEXIST) where
// anything has the name, so that nothing of anyone else's is overwritten.
FILE* OpenNewForWriting(const std::string& path);

// Opens a regular file for reading in binary mode; nullptr for anything
// else (a folder, a FIFO, a device), without waiting on it, so that a FIFO
// where a file should be never hangs a reader.
FILE* OpenForReading(const std::string& path);

// How much a finished file is worth waiting for: the map pair and a merged
// version are put on the disk before they replace anything; the pictures
// and pages a tool makes again at will only leave the program's buffers.
enum class Durability { OnTheDisk, Written };

// Flushes the file at `path` (to the disk, for OnTheDisk) and closes it;
// done only if everything written so far (`writtenSoFar`) and the flush and
// close all succeeded.
Result<void> FinishWriting(FILE* file, bool writtenSoFar, const std::string& path,
                           Durability durability = Durability::OnTheDisk);

Result<void> WriteWholeFile(const std::string& path, std::string_view bytes);

// The whole file; FileUnreadable, or FileTooLarge past maxBytes.
Result<std::string> ReadWholeFile(const std::string& path, long long maxBytes);

// Replaces `to` by `from` in one step (rename over an existing file), so
// that `to` names either file at every moment. Fails where the folder or
// the target refuses it.
Result<void> MoveFileOver(const std::string& from, const std::string& to);

// Gives the file `from` the second name `to` (a hard link). Fails where the
// file system has no hard links or refuses one.
Result<void> LinkFile(const std::string& from, const std::string& to);

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
// therefore not be replaced. On failure `targetOpened` tells whether the
// target may have been changed.
Result<void> CopyFileContent(const std::string& from, const std::string& to,
                             bool* targetOpened = nullptr);

// Writes the whole content of the file `from` to `to`, a file being written.
Result<void> WriteFileContent(const std::string& from, FILE* to);

enum class PathKind { Missing, File, Other };
PathKind KindOfPath(const std::string& path);

// Whether the two names are one file (hard links of each other, or one
// path spelled twice); false where either is missing.
bool IsSameFile(const std::string& a, const std::string& b);

// Gives `to` the permission bits (on Windows, the attributes) of `from`, and
// natively its owner where the process may. Done where `from` is missing.
Result<void> KeepPermissions(const std::string& from, const std::string& to);

// The path with symbolic links followed (natively) and made absolute, so
// that every spelling of one file gives one path. A missing file gets its
// folder's path and its own name; a path that cannot be resolved stays as
// it is.
std::string ResolvedPath(const std::string& path);

// Writes a file beside `path` (its name with "~" and a number added, a name
// nothing else has), flushes it, gives it the permissions of the file it
// replaces and renames it over `path`, so that `path` is the old file or
// the new one at every moment and a symbolic link at `path` is replaced,
// not written through. On failure `path` is unchanged and nothing is left
// beside it. `write` returns false where it could not write everything.
Result<void> ReplaceFileWith(const std::string& path, const std::function<bool(FILE*)>& write,
                             Durability durability = Durability::OnTheDisk);

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

// Puts the folder's list of files on the disk (new files, renames); done
// where the platform does that by itself.
Result<void> FlushFolderOf(const std::string& path);
