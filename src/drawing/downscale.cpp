#include "drawing/downscale.h"

#include <algorithm>

#include "document/cell_chunks.h"

namespace {

long long ceilDivide(long long a, long long b) { return (a + b - 1) / b; }

}  // namespace

DownScale ScaleToFit(int mapWidth, int mapHeight, int spaceWidth, int spaceHeight) {
    spaceWidth = std::max(spaceWidth, 1), spaceHeight = std::max(spaceHeight, 1);
    mapWidth = std::max(mapWidth, 1), mapHeight = std::max(mapHeight, 1);
    if (mapWidth <= spaceWidth && mapHeight <= spaceHeight)
        return {1, std::min(spaceWidth / mapWidth, spaceHeight / mapHeight)};
    return {static_cast<int>(
                std::max(ceilDivide(mapWidth, spaceWidth), ceilDivide(mapHeight, spaceHeight))),
            1};
}

namespace {

// `chunkAt(x)` gives cells [x, x + 64) as one piece of memory, or nullptr;
// `cellAt(x)` one cell.
template <typename ChunkAt, typename CellAt>
long long countByPixel(int width, int cellsPerPixel, std::uint32_t* counts, ChunkAt chunkAt,
                       CellAt cellAt) {
    long long total = 0;
    for (int x = 0; x < width;) {
        const std::uint8_t* chunk = x + 64 <= width ? chunkAt(x) : nullptr;
        if (!chunk) {
            const std::uint8_t cell = cellAt(x);
            counts[x / cellsPerPixel] += cell;
            total += cell;
            ++x;
            continue;
        }
        std::uint64_t bits = ChunkBits(chunk);
        total += __builtin_popcountll(bits);
        // The chunk's cells by the pixels they fall in.
        for (int pixel = x / cellsPerPixel; bits; ++pixel) {
            const int end = std::min((pixel + 1) * cellsPerPixel, x + 64) - x;
            const std::uint64_t mine = end >= 64 ? bits : bits & ((1ULL << end) - 1);
            counts[pixel] += static_cast<std::uint32_t>(__builtin_popcountll(mine));
            bits &= ~mine;
        }
        x += 64;
    }
    return total;
}

}  // namespace

long long CountSetCellsByPixel(const CellRow& row, int width, int cellsPerPixel,
                               std::uint32_t* counts) {
    return countByPixel(
        width, cellsPerPixel, counts, [&](int x) { return ChunkAt(row, size_t(x)); },
        [&](int x) { return row[size_t(x)]; });
}

long long CountSetCellsByPixel(const std::uint8_t* row, int width, int cellsPerPixel,
                               std::uint32_t* counts) {
    return countByPixel(
        width, cellsPerPixel, counts, [&](int x) { return row + x; },
        [&](int x) { return row[x]; });
}
