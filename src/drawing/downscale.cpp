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

long long CountSetCellsByPixel(const CellRow& row, int width, int cellsPerPixel,
                               std::uint32_t* counts) {
    long long total = 0;
    for (int x = 0; x < width;) {
        const std::uint8_t* chunk = x + 64 <= width ? ChunkAt(row, x) : nullptr;
        if (!chunk) {
            counts[x / cellsPerPixel] += row[x];
            total += row[x];
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
