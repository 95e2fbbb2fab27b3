#include "document/cell_masks.h"

#include <algorithm>
#include <cstring>

#include "document/cell_chunks.h"

namespace {

constexpr std::uint64_t keyOf(std::uint32_t blockColumn, std::uint32_t blockRow) {
    return (static_cast<std::uint64_t>(blockRow) << 32) | blockColumn;
}

std::uint64_t* blockRows(CellMasks& masks, std::uint32_t block) {
    return masks.rows.data() + static_cast<std::size_t>(block) * MASK_BLOCK_CELLS;
}

// Byte i of SPREAD[b] is bit i of b: eight cells' worth of XOR at once.
struct SpreadTable {
    std::uint64_t bytes[256];
    SpreadTable() {
        for (int bits = 0; bits < 256; ++bits) {
            std::uint8_t cells[8];
            for (int i = 0; i < 8; ++i) cells[i] = static_cast<std::uint8_t>(bits >> i & 1);
            std::memcpy(&bytes[bits], cells, 8);
        }
    }
};
const SpreadTable SPREAD;

// Flips the cells of one row of one block: eight at a time where the
// block's cells are one chunk (document/cell_chunks.h), else one by one.
void flipRow(CellRow& row, std::size_t firstColumn, std::uint64_t bits) {
    const std::size_t count = std::min<std::size_t>(MASK_BLOCK_CELLS, row.size() - firstColumn);
    if (std::uint8_t* first = ChunkAt(row, firstColumn)) {
        for (std::size_t byte = 0; byte < 8; ++byte, bits >>= 8) {
            std::uint64_t cells;
            std::memcpy(&cells, first + 8 * byte, 8);
            cells ^= SPREAD.bytes[bits & 0xFF];
            std::memcpy(first + 8 * byte, &cells, 8);
        }
        return;
    }
    auto cell = row.begin() + static_cast<std::ptrdiff_t>(firstColumn);
    for (std::size_t x = 0; x < count; ++x, ++cell)
        *cell ^= static_cast<std::uint8_t>(bits >> x & 1);
}

void extend(CellArea& area, int left, int top, int right, int bottom) {
    if (area.empty()) {
        area = {left, top, right, bottom};
        return;
    }
    area = {std::min(area.left, left), std::min(area.top, top), std::max(area.right, right),
            std::max(area.bottom, bottom)};
}

// Flips `bits` in row y of the block at blockColumn. Consecutive calls
// mostly meet the block of the call before, which is tried first.
void flipBits(CellMasks& masks, std::uint32_t blockColumn, int y, std::uint64_t bits) {
    const std::uint64_t key = keyOf(blockColumn, static_cast<std::uint32_t>(y / MASK_BLOCK_CELLS));
    std::uint32_t block = masks.lastBlock;
    if (masks.blockKeys.empty() || masks.blockKeys[block] != key) {
        const auto [found, added] =
            masks.blockAt.try_emplace(key, static_cast<std::uint32_t>(masks.blockKeys.size()));
        if (added) {
            masks.blockKeys.push_back(key);
            masks.rows.resize(masks.rows.size() + MASK_BLOCK_CELLS, 0);
        }
        block = masks.lastBlock = found->second;
    }
    blockRows(masks, block)[y % MASK_BLOCK_CELLS] ^= bits;
}

bool isEmptyBlock(const std::uint64_t* rows) {
    return std::all_of(rows, rows + MASK_BLOCK_CELLS, [](std::uint64_t bits) { return bits == 0; });
}

}  // namespace

void FlipCells(CellMasks& masks, int blockColumn, int y, std::uint64_t bits) {
    flipBits(masks, static_cast<std::uint32_t>(blockColumn), y, bits);
}

std::uint64_t RecordedCells(const CellMasks& masks, int blockColumn, int y) {
    if (blockColumn < 0 || y < 0) return 0;
    const auto found = masks.blockAt.find(
        keyOf(static_cast<std::uint32_t>(blockColumn), static_cast<std::uint32_t>(y) / 64));
    if (found == masks.blockAt.end()) return 0;
    return masks.rows[static_cast<std::size_t>(found->second) * MASK_BLOCK_CELLS + y % 64];
}

void FlipCell(CellMasks& masks, int x, int y) {
    flipBits(masks, static_cast<std::uint32_t>(x / MASK_BLOCK_CELLS), y,
             std::uint64_t{1} << (x % MASK_BLOCK_CELLS));
}

void MergeMasks(CellMasks& into, const CellMasks& from) {
    for (std::size_t block = 0; block < from.blockKeys.size(); ++block) {
        const MaskBlock where = BlockOfKey(from.blockKeys[block]);
        for (int row = 0; row < MASK_BLOCK_CELLS; ++row)
            if (const std::uint64_t bits = from.rows[block * MASK_BLOCK_CELLS + row])
                flipBits(into, where.column, where.top() + row, bits);
    }
}

// The finished masks are sized exactly: a history's capacity counts them.
void FinishMasks(CellMasks& masks) {
    std::vector<std::uint32_t> order;
    for (std::uint32_t block = 0; block < masks.blockKeys.size(); ++block)
        if (!isEmptyBlock(blockRows(masks, block))) order.push_back(block);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return masks.blockKeys[a] < masks.blockKeys[b];
    });
    CellMasks finished;
    finished.blockKeys.reserve(order.size());
    finished.rows.reserve(order.size() * MASK_BLOCK_CELLS);
    for (const std::uint32_t block : order) {
        const std::uint64_t* rows = blockRows(masks, block);
        const std::uint64_t key = masks.blockKeys[block];
        const int left = BlockOfKey(key).left(), top = BlockOfKey(key).top();
        std::uint64_t columns = 0;
        int first = MASK_BLOCK_CELLS, last = -1;
        for (int y = 0; y < MASK_BLOCK_CELLS; ++y) {
            columns |= rows[y];
            if (rows[y]) first = std::min(first, y), last = y;
        }
        extend(finished.area, left + __builtin_ctzll(columns), top + first,
               left + 63 - __builtin_clzll(columns), top + last);
        finished.blockKeys.push_back(key);
        finished.rows.insert(finished.rows.end(), rows, rows + MASK_BLOCK_CELLS);
    }
    masks = std::move(finished);
}

void ApplyMasks(const CellMasks& masks, CellGrid& cells) {
    for (std::size_t block = 0; block < masks.blockKeys.size(); ++block) {
        const MaskBlock where = BlockOfKey(masks.blockKeys[block]);
        const auto left = static_cast<std::size_t>(where.left());
        const auto top = static_cast<std::size_t>(where.top());
        const std::uint64_t* rows = masks.rows.data() + block * MASK_BLOCK_CELLS;
        for (std::size_t y = 0; y < MASK_BLOCK_CELLS && top + y < cells.size(); ++y)
            if (rows[y]) flipRow(cells[top + y], left, rows[y]);
    }
}

// Gathers a block's row of cells into one word before it is stored, so the
// whole map costs one lookup per 64 cells.
CellMasks DroppedCells(const CellGrid& cells, int width, int height) {
    CellMasks dropped;
    for (std::size_t y = 0; y < cells.size(); ++y) {
        const CellRow& row = cells[y];
        const std::size_t kept = static_cast<long long>(y) < height
                                     ? std::min<std::size_t>(std::max(width, 0), row.size())
                                     : 0;
        auto cell = row.begin() + static_cast<std::ptrdiff_t>(kept);
        std::uint64_t bits = 0;
        for (std::size_t x = kept; x < row.size(); ++x, ++cell) {
            bits |= static_cast<std::uint64_t>(*cell != 0) << (x % MASK_BLOCK_CELLS);
            const bool blockEnds =
                x % MASK_BLOCK_CELLS == MASK_BLOCK_CELLS - 1 || x + 1 == row.size();
            if (blockEnds && bits) {
                flipBits(dropped, static_cast<std::uint32_t>(x / MASK_BLOCK_CELLS),
                         static_cast<int>(y), bits);
                bits = 0;
            }
        }
    }
    FinishMasks(dropped);
    return dropped;
}
