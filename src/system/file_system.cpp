#include "system/file_system.h"

#include <cerrno>

FILE* OpenForWriting(const std::string& path) { return std::fopen(path.c_str(), "wb"); }

Result<void> FinishWriting(FILE* file, bool writtenSoFar, const std::string& path,
                           Durability durability) {
    const int writeError = errno;
    const bool flushed =
        std::fflush(file) == 0 && (durability == Durability::Written || FlushToDisk(file));
    const bool closed = std::fclose(file) == 0;
    if (!writtenSoFar) errno = writeError;  // the first failure is the reason
    return SystemResult(writtenSoFar && flushed && closed, FailureKind::WriteFailed, path);
}

Result<void> WriteWholeFile(const std::string& path, std::string_view bytes) {
    FILE* file = OpenForWriting(path);
    if (!file) return SystemFailure(FailureKind::WriteFailed, path);
    return FinishWriting(file, std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(),
                         path);
}

Result<std::string> ReadWholeFile(const std::string& path, long long maxBytes) {
    FILE* file = OpenForReading(path);
    if (!file) return SystemFailure(FailureKind::FileUnreadable, path);
    std::string bytes;
    char buffer[65536];
    size_t count;
    bool fits = true;
    while (fits && (count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, count);
        fits = static_cast<long long>(bytes.size()) <= maxBytes;
    }
    const bool readable = !std::ferror(file);
    std::fclose(file);
    if (!fits) return Failure{FailureKind::FileTooLarge, path, 0, 0, ""};
    if (!readable) return SystemFailure(FailureKind::FileUnreadable, path);
    return bytes;
}

namespace {

// False where a read or a write failed; errno then tells which.
bool copyStream(FILE* from, FILE* to) {
    char buffer[65536];
    size_t count;
    bool written = true;
    while (written && (count = std::fread(buffer, 1, sizeof buffer, from)) > 0)
        written = std::fwrite(buffer, 1, count, to) == count;
    return written && !std::ferror(from);
}

}  // namespace

Result<void> WriteFileContent(const std::string& from, FILE* to) {
    FILE* source = OpenForReading(from);
    if (!source) return SystemFailure(FailureKind::FileUnreadable, from);
    const bool copied = copyStream(source, to);
    const Result<void> result = SystemResult(copied, FailureKind::WriteFailed, from);
    std::fclose(source);
    return result;
}

// The source is opened first, so that a target is never cut short for a
// source that cannot be read.
Result<void> CopyFileContent(const std::string& from, const std::string& to, bool* targetOpened) {
    if (targetOpened) *targetOpened = false;
    FILE* source = OpenForReading(from);
    if (!source) return SystemFailure(FailureKind::FileUnreadable, from);
    FILE* target = OpenForWriting(to);
    if (targetOpened) *targetOpened = target != nullptr;
    Result<void> copied = SystemResult(target != nullptr, FailureKind::WriteFailed, to);
    if (target) copied = FinishWriting(target, copyStream(source, target), to);
    std::fclose(source);
    return copied;
}

Result<void> ReplaceFileWith(const std::string& path, const std::function<bool(FILE*)>& write,
                             Durability durability) {
    std::string beside;
    FILE* file = nullptr;
    for (int number = 1; !file && number <= 100; ++number) {
        beside = path + "~" + std::to_string(number);
        file = OpenNewForWriting(beside);
        if (!file && errno != EEXIST) return SystemFailure(FailureKind::WriteFailed, path);
    }
    if (!file) return SystemFailure(FailureKind::WriteFailed, path);
    Result<void> written = FinishWriting(file, write(file), path, durability);
    if (written) written = KeepPermissions(path, beside);
    if (written) written = MoveFileOver(beside, path);
    if (!written) {
        RemoveFile(beside);
        return InFile(written.failure(), path);
    }
    // Renamed in, the file is there: the flush only makes that last through
    // a power cut.
    if (durability == Durability::OnTheDisk) static_cast<void>(FlushFolderOf(path));
    return {};
}
