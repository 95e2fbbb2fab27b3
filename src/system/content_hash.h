// Fingerprints of file content: the size and a 64-bit hash (XXH3 of the
// xxHash library), to tell whether a file is still the one that was
// recorded. Not a defence against someone forging a file on purpose.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "system/failure.h"

struct FileFingerprint {
    bool present = false;  // false: there was no file
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    bool operator==(const FileFingerprint& other) const {
        return present == other.present && size == other.size && hash == other.hash;
    }
    bool operator!=(const FileFingerprint& other) const { return !(*this == other); }
};

// Hashes content that arrives in pieces, such as a file as it is written.
class ContentHasher {
  public:
    ContentHasher();
    ~ContentHasher();
    ContentHasher(const ContentHasher&) = delete;
    ContentHasher& operator=(const ContentHasher&) = delete;
    void add(const void* bytes, std::size_t count);
    FileFingerprint fingerprint() const;

  private:
    struct State;
    std::unique_ptr<State> state;
    std::uint64_t size = 0;
};

// The file's fingerprint; one with present == false where there is no file.
// Fails where there is something that cannot be read.
Result<FileFingerprint> FingerprintFile(const std::string& path);
