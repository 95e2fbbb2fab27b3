#include "system/file_output.h"

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
    FILE* file = std::fopen(path.c_str(), "rb");
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

bool CopyFileContent(const std::string& from, const std::string& to, bool* targetOpened) {
    if (targetOpened) *targetOpened = false;
    FILE* source = std::fopen(from.c_str(), "rb");
    if (!source) return false;
    FILE* target = OpenForWriting(to);
    if (targetOpened) *targetOpened = target != nullptr;
    if (!target) {
        std::fclose(source);
        return false;
    }
    char buffer[65536];
    size_t count;
    bool written = true;
    while (written && (count = std::fread(buffer, 1, sizeof buffer, source)) > 0)
        written = std::fwrite(buffer, 1, count, target) == count;
    const bool readable = !std::ferror(source);
    std::fclose(source);
    return FinishWriting(target, written && readable);
}
