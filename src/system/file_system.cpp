#include "system/file_system.h"

#include <cerrno>

FILE* OpenForWriting(const std::string& path) { return std::fopen(path.c_str(), "wb"); }

bool FinishWriting(FILE* file, bool writtenSoFar) {
    const bool flushed = std::fflush(file) == 0 && FlushToDisk(file);
    const bool closed = std::fclose(file) == 0;
    return writtenSoFar && flushed && closed;
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
    FILE* file = OpenForWriting(path);
    if (!file) return false;
    return FinishWriting(file, std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
}

bool ReadWholeFile(const std::string& path, long long maxBytes, std::string& bytes) {
    FILE* file = OpenForReading(path);
    if (!file) return false;
    bytes.clear();
    char buffer[65536];
    size_t count;
    bool fits = true;
    while (fits && (count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, count);
        fits = static_cast<long long>(bytes.size()) <= maxBytes;
    }
    const bool readable = !std::ferror(file);
    std::fclose(file);
    return fits && readable;
}

namespace {

bool copyStream(FILE* from, FILE* to) {
    char buffer[65536];
    size_t count;
    bool written = true;
    while (written && (count = std::fread(buffer, 1, sizeof buffer, from)) > 0)
        written = std::fwrite(buffer, 1, count, to) == count;
    return written && !std::ferror(from);
}

}  // namespace

bool WriteFileContent(const std::string& from, FILE* to) {
    FILE* source = OpenForReading(from);
    if (!source) return false;
    const bool copied = copyStream(source, to);
    std::fclose(source);
    return copied;
}

// The source is opened first, so that a target is never cut short for a
// source that cannot be read.
bool CopyFileContent(const std::string& from, const std::string& to, bool* targetOpened) {
    if (targetOpened) *targetOpened = false;
    FILE* source = OpenForReading(from);
    if (!source) return false;
    FILE* target = OpenForWriting(to);
    if (targetOpened) *targetOpened = target != nullptr;
    const bool copied = target && FinishWriting(target, copyStream(source, target));
    std::fclose(source);
    return copied;
}

bool ReplaceFileWith(const std::string& path, const std::function<bool(FILE*)>& write) {
    std::string beside;
    FILE* file = nullptr;
    for (int number = 1; !file && number <= 100; ++number) {
        beside = path + "~" + std::to_string(number);
        file = OpenNewForWriting(beside);
        if (!file && errno != EEXIST) return false;
    }
    if (!file) return false;
    const bool written = FinishWriting(file, write(file)) && KeepPermissions(path, beside) &&
                         MoveFileOver(beside, path);
    if (!written) RemoveFile(beside);
    return written && (FlushFolderOf(path), true);
}
