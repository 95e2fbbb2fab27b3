#include "recovery/recovery_copy.h"

#include <cstdint>
#include <cstring>

#include "system/content_hash.h"
#include "system/file_system.h"

namespace {

// The first line tells the format; the numbers that follow are little-endian.
constexpr char HEADER[] = "Kalmia recovery copy 1\r\n";
constexpr std::size_t HEADER_BYTES = sizeof HEADER - 1;
constexpr std::size_t NAME_LIMIT = 1 << 20;
// A copy of the largest map the editor takes, with room for its name.
constexpr long long COPY_LIMIT = MAX_GRID_ROWS * 8LL + MAX_GRID_CELLS / 8 + 2 * NAME_LIMIT;

// Everything written goes through the hash, which the file ends with.
struct HashedWriter {
    FILE* file;
    ContentHasher hasher;
    bool ok = true;
    void put(const void* bytes, std::size_t count) {
        hasher.add(bytes, count);
        ok = ok && std::fwrite(bytes, 1, count, file) == count;
    }
    void putNumber(std::uint64_t value, std::size_t bytes) {
        unsigned char little[8];
        for (std::size_t i = 0; i < bytes; ++i) little[i] = (value >> (8 * i)) & 0xFF;
        put(little, bytes);
    }
};

struct CopyReader {
    const std::string& bytes;
    std::size_t at = 0;
    bool take(std::size_t count) {
        if (bytes.size() - at < count) return false;
        at += count;
        return true;
    }
    bool number(std::uint64_t& value, std::size_t count) {
        if (!take(count)) return false;
        value = 0;
        for (std::size_t i = 0; i < count; ++i)
            value |= std::uint64_t{static_cast<unsigned char>(bytes[at - count + i])} << (8 * i);
        return true;
    }
};

std::int32_t asInt32(std::uint64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

Failure damaged(const std::string& path, std::string what) {
    return {FailureKind::NotWellFormed, path, 0, 0, std::move(what)};
}

// Where the bytes ahead hold the copy's values and cells, `map` gets them.
bool readBody(CopyReader& reader, PackedMap& map) {
    std::uint64_t numbers[6], nameBytes;
    for (std::uint64_t& value : numbers)
        if (!reader.number(value, 4)) return false;
    MapParameters& parameters = map.parameters;
    std::int32_t* fields[] = {&parameters.x,     &parameters.y,     &parameters.rank1,
                              &parameters.rank2, &parameters.rate1, &parameters.rate2};
    for (int i = 0; i < 6; ++i) *fields[i] = asInt32(numbers[i]);
    if (!isAcceptedGridSize(parameters.x, parameters.y)) return false;
    if (!reader.number(nameBytes, 4) || nameBytes > NAME_LIMIT) return false;
    const std::size_t nameAt = reader.at;
    if (!reader.take(nameBytes)) return false;
    parameters.name = reader.bytes.substr(nameAt, nameBytes);
    map.rowWords = RowWordsFor(parameters.x);
    const std::size_t wordCount = map.rowWords * static_cast<std::size_t>(parameters.y);
    const std::size_t wordsAt = reader.at;
    if (!reader.take(wordCount * 8)) return false;
    map.words.resize(wordCount);
    std::memcpy(map.words.data(), reader.bytes.data() + wordsAt, wordCount * 8);
    return true;
}

}  // namespace

Result<void> WriteRecoveryCopy(const std::string& path, const PackedMap& map) {
    return ReplaceFileWith(path, [&](FILE* file) {
        HashedWriter writer{file, {}};
        writer.put(HEADER, HEADER_BYTES);
        const MapParameters& parameters = map.parameters;
        for (const std::int32_t value : {parameters.x, parameters.y, parameters.rank1,
                                         parameters.rank2, parameters.rate1, parameters.rate2})
            writer.putNumber(static_cast<std::uint32_t>(value), 4);
        writer.putNumber(parameters.name.size(), 4);
        writer.put(parameters.name.data(), parameters.name.size());
        writer.put(map.words.data(), map.words.size() * 8);
        writer.putNumber(writer.hasher.fingerprint().hash, 8);
        return writer.ok;
    });
}

Result<PackedMap> ReadRecoveryCopy(const std::string& path) {
    Result<std::string> read = ReadWholeFile(path, COPY_LIMIT);
    if (!read) return read.failure();
    const std::string& bytes = read.value();
    if (bytes.compare(0, HEADER_BYTES, HEADER) != 0)
        return damaged(path, "not a recovery copy of this version");
    if (bytes.size() < HEADER_BYTES + 8) return damaged(path, "cut short");
    ContentHasher hasher;
    hasher.add(bytes.data(), bytes.size() - 8);
    CopyReader closing{bytes, bytes.size() - 8};
    std::uint64_t hash = 0;
    static_cast<void>(closing.number(hash, 8));
    if (hasher.fingerprint().hash != hash) return damaged(path, "damaged (its hash differs)");
    PackedMap map;
    CopyReader reader{bytes, HEADER_BYTES};
    if (!readBody(reader, map) || reader.at != bytes.size() - 8)
        return damaged(path, "its values do not fit together");
    return map;
}
