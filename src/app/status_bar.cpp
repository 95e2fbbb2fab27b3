#include "app/status_bar.h"

#include <algorithm>
#include <bitset>

#include "document/cell_chunks.h"

namespace {

std::string sizeText(long long width, long long height) {
    return std::to_string(width) + " × " + std::to_string(height);
}

// +1 for each named cell that is set now, -1 for each that is clear: 64
// cells of a row at a time where they lie in one piece (cell_chunks.h).
long long changeOfRow(const CellRow& row, std::size_t left, std::uint64_t named) {
    if (const std::uint8_t* chunk = ChunkAt(row, left)) {
        const auto set = static_cast<long long>(std::bitset<64>(named & ChunkBits(chunk)).count());
        return 2 * set - static_cast<long long>(std::bitset<64>(named).count());
    }
    long long change = 0;
    for (std::uint64_t bits = named; bits; bits &= bits - 1) {
        const std::size_t x = left + static_cast<std::size_t>(__builtin_ctzll(bits));
        if (x < row.size()) change += row[x] ? 1 : -1;
    }
    return change;
}

long long changeOfMasks(const CellMasks& masks, const CellGrid& cells) {
    long long change = 0;
    for (std::size_t block = 0; block < masks.blockKeys.size(); ++block) {
        const MaskBlock where = BlockOfKey(masks.blockKeys[block]);
        const std::uint64_t* rows = masks.rows.data() + block * MASK_BLOCK_CELLS;
        for (std::size_t y = 0; y < MASK_BLOCK_CELLS; ++y) {
            const std::size_t row = static_cast<std::size_t>(where.top()) + y;
            if (rows[y] && row < cells.size())
                change += changeOfRow(cells[row], static_cast<std::size_t>(where.left()), rows[y]);
        }
    }
    return change;
}

long long namedCells(const CellMasks& masks) {
    long long count = 0;
    for (const std::uint64_t row : masks.rows)
        count += static_cast<long long>(std::bitset<64>(row).count());
    return count;
}

}  // namespace

long long CountSetCells(const CellGrid& cells) {
    long long count = 0;
    for (const CellRow& row : cells) {
        std::size_t x = 0;
        for (; x + CELL_CHUNK <= row.size(); x += CELL_CHUNK) {
            const std::uint8_t* chunk = ChunkAt(row, x);
            count += chunk ? CountSetBytes(chunk, CELL_CHUNK)
                           : std::count(row.begin() + x, row.begin() + x + CELL_CHUNK, 1);
        }
        count += std::count(row.begin() + x, row.end(), 1);
    }
    return count;
}

long long SetCellsAfterStep(long long before, const EditStep& step, StepDirection direction,
                            const CellGrid& cells) {
    long long after = before + changeOfMasks(step.cells, cells);
    if (step.parameters) {
        const long long dropped = namedCells(step.parameters->dropped);
        after += direction == StepDirection::Forward ? -dropped : dropped;
    }
    return after;
}

// The literals are the ANSI code page's: the Windows build compiles them so.
StatusTexts StatusTextsOf(const StatusFacts& facts) {
    StatusTexts texts;
    if (const auto& cell = facts.pointer;
        cell && cell->x >= 0 && cell->y >= 0 && cell->x < facts.width && cell->y < facts.height)
        texts[CellPart] = std::to_string(cell->y + 1) + ":" + std::to_string(cell->x + 1);
    if (const auto& drag = facts.drag)
        texts[DragPart] = sizeText(std::abs(drag->right - drag->left) + 1LL,
                                   std::abs(drag->bottom - drag->top) + 1LL);
    texts[SizePart] = sizeText(facts.width, facts.height);
    texts[SetCellsPart] = "黒 " + std::to_string(facts.setCells);
    texts[ScalePart] = "100%";
    if (facts.unsaved) texts[ChangedPart] = "変更あり";
    return texts;
}
