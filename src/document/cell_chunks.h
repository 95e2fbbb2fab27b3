// Rows read and changed 64 cells at a time. A row built from its first cell,
// as every row of the program is, keeps each aligned run of 64 cells in one
// piece of its deque's storage, so the run can be handled eight cells per
// word instead of one cell per deque step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "document/map_document.h"

constexpr std::size_t CELL_CHUNK = 64;

// Cells [x, x + 64) as one piece of memory; nullptr where x is not a
// multiple of 64, the row ends first, or the storage splits them.
inline std::uint8_t* ChunkAt(CellRow& row, std::size_t x) {
    if (x % CELL_CHUNK || x + CELL_CHUNK > row.size()) return nullptr;
    std::uint8_t* first = &row[x];
    return &row[x + CELL_CHUNK - 1] == first + CELL_CHUNK - 1 ? first : nullptr;
}

inline const std::uint8_t* ChunkAt(const CellRow& row, std::size_t x) {
    return ChunkAt(const_cast<CellRow&>(row), x);
}

// Bit i of the result: cell i of the chunk is set (cells hold 0 or 1). Each
// byte of a word lands in its own bit by one multiplication, on the
// little-endian machines Kalmia runs on.
inline std::uint64_t ChunkBits(const std::uint8_t* chunk) {
    std::uint64_t bits = 0;
    for (int word = 0; word < 8; ++word) {
        std::uint64_t bytes;
        std::memcpy(&bytes, chunk + 8 * word, 8);
        bits |= ((bytes * 0x0102040810204080ULL) >> 56) << (8 * word);
    }
    return bits;
}

// How many of `count` cells held as bytes of 0 and 1 are set: eight bytes
// are added at a time, each lane counting to at most 255 before the lanes
// are summed.
inline long long CountSetBytes(const std::uint8_t* cells, std::size_t count) {
    long long total = 0;
    std::size_t i = 0;
    while (i + 8 <= count) {
        std::uint64_t lanes = 0;
        for (int words = 0; words < 255 && i + 8 <= count; ++words, i += 8) {
            std::uint64_t word;
            std::memcpy(&word, cells + i, 8);
            lanes += word;
        }
        const std::uint64_t pairs =
            (lanes & 0x00FF00FF00FF00FFULL) + ((lanes >> 8) & 0x00FF00FF00FF00FFULL);
        total += static_cast<long long>((pairs * 0x0001000100010001ULL) >> 48);
    }
    for (; i < count; ++i) total += cells[i];
    return total;
}
