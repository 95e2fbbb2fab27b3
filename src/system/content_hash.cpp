#include "system/content_hash.h"

#include <cstdio>

#include "system/file_system.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

struct ContentHasher::State {
    XXH3_state_t xxh3;
};

ContentHasher::ContentHasher() : state(std::make_unique<State>()) {
    XXH3_64bits_reset(&state->xxh3);
}

ContentHasher::~ContentHasher() = default;

void ContentHasher::add(const void* bytes, std::size_t count) {
    XXH3_64bits_update(&state->xxh3, bytes, count);
    size += count;
}

FileFingerprint ContentHasher::fingerprint() const {
    return {true, size, XXH3_64bits_digest(&state->xxh3)};
}

Result<FileFingerprint> FingerprintFile(const std::string& path) {
    const Failure unreadable{FailureKind::FileUnreadable, path, 0, 0, ""};
    if (KindOfPath(path) == PathKind::Missing) return FileFingerprint{};
    FILE* file = OpenForReading(path);
    if (!file) return unreadable;
    ContentHasher hasher;
    static thread_local char buffer[1 << 16];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) hasher.add(buffer, count);
    const bool readable = !std::ferror(file);
    std::fclose(file);
    if (!readable) return unreadable;
    return hasher.fingerprint();
}
