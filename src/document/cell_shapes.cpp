#include "document/cell_shapes.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "document/cell_chunks.h"

namespace {

constexpr std::size_t CHUNK = CELL_CHUNK;

bool isUniform(const std::uint8_t* chunk, std::uint8_t value) {
    const std::uint64_t pattern = 0x0101010101010101ULL * value;
    for (std::size_t i = 0; i < CHUNK; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, chunk + i, 8);
        if (word != pattern) return false;
    }
    return true;
}

// The first x in [from, to) whose cell is not `value`, else `to`: whole
// chunks of `value` are passed over eight cells at a time.
std::size_t firstOther(const CellRow& row, std::size_t from, std::size_t to, std::uint8_t value) {
    std::size_t x = from;
    while (x < to) {
        if (x + CHUNK <= to) {
            const std::uint8_t* chunk = ChunkAt(row, x);
            if (chunk && isUniform(chunk, value)) {
                x += CHUNK;
                continue;
            }
        }
        if (row[x] != value) return x;
        ++x;
    }
    return to;
}

// The first column of the run of `value` that ends at x (row[x] is value).
std::size_t runStart(const CellRow& row, std::size_t x, std::uint8_t value) {
    while (x > 0) {
        if (x >= CHUNK) {
            const std::uint8_t* chunk = ChunkAt(row, x - CHUNK);
            if (chunk && isUniform(chunk, value)) {
                x -= CHUNK;
                continue;
            }
        }
        if (row[x - 1] != value) break;
        --x;
    }
    return x;
}

// Gives cells [left, right) of row y `value`, recording those that change.
// `allChange`: every one of them is known to differ from `value`. A whole
// block's changes are read from its chunk at once.
void setRun(CellRow& row, int y, std::size_t left, std::size_t right, std::uint8_t value,
            CellMasks& changed, bool allChange) {
    for (std::size_t x = left; x < right;) {
        const std::size_t blockEnd = std::min(right, (x / CHUNK + 1) * CHUNK);
        std::uint64_t bits = 0;
        if (allChange) {
            const std::size_t count = blockEnd - x;
            bits = (count == CHUNK ? ~0ULL : ((1ULL << count) - 1)) << (x % CHUNK);
        } else if (const std::uint8_t* chunk = blockEnd - x == CHUNK ? ChunkAt(row, x) : nullptr) {
            bits = value ? ~ChunkBits(chunk) : ChunkBits(chunk);
        } else {
            auto cell = row.begin() + static_cast<std::ptrdiff_t>(x);
            for (std::size_t i = x; i < blockEnd; ++i, ++cell)
                bits |= static_cast<std::uint64_t>(*cell != value) << (i % CHUNK);
        }
        if (bits) FlipCells(changed, static_cast<int>(x / CHUNK), y, bits);
        // Block by block, so that what is recorded is always what changed.
        std::fill(row.begin() + static_cast<std::ptrdiff_t>(x),
                  row.begin() + static_cast<std::ptrdiff_t>(blockEnd), value);
        x = blockEnd;
    }
}

}  // namespace

bool isCellOnGrid(const CellPosition& cell, const MapDocument& document) {
    const auto [width, height] = document.gridSize();
    return cell.y >= 0 && cell.y < height && cell.x >= 0 && cell.x < width;
}

CellArea RectangleWithin(const CellPosition& a, const CellPosition& b,
                         const MapDocument& document) {
    const auto [width, height] = document.gridSize();
    const CellArea area{std::max(std::min(a.x, b.x), 0), std::max(std::min(a.y, b.y), 0),
                        std::min(std::max(a.x, b.x), width - 1),
                        std::min(std::max(a.y, b.y), height - 1)};
    return area.empty() ? CellArea{} : area;
}

void PaintLine(MapDocument& document, const CellPosition& from, const CellPosition& to,
               std::uint8_t value, CellMasks& changed) {
    ForEachLineCell(from, to, [&](const CellPosition& cell) {
        if (!isCellOnGrid(cell, document)) return;
        std::uint8_t& stored = document.cells[cell.y][cell.x];
        if (stored == value) return;
        stored = value;
        FlipCell(changed, cell.x, cell.y);
    });
}

void PaintRectangle(MapDocument& document, const CellPosition& a, const CellPosition& b,
                    std::uint8_t value, CellMasks& changed) {
    const CellArea area = RectangleWithin(a, b, document);
    for (int y = area.top; y <= area.bottom && !area.empty(); ++y)
        setRun(document.cells[y], y, area.left, area.right + 1, value, changed, false);
}

namespace {

// A stretch of a row next to a run just filled; the cells of the seed's
// state in it start runs of their own.
struct Segment {
    std::uint32_t y, left, right;
};

struct Fill {
    MapDocument& document;
    std::uint8_t value, old;
    CellMasks& changed;
    std::size_t maxPending;
    std::vector<Segment> pending;
    // For rows whose segments did not fit: the stretch still to look at.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> dropped;
    bool anyDropped = false;

    void push(std::uint32_t y, std::size_t left, std::size_t right) {
        if (pending.size() < maxPending) {
            pending.push_back(
                {y, static_cast<std::uint32_t>(left), static_cast<std::uint32_t>(right)});
            return;
        }
        if (dropped.empty()) dropped.assign(document.cells.size(), {UINT32_MAX, 0});
        auto& [from, to] = dropped[y];
        from = std::min<std::uint32_t>(from, static_cast<std::uint32_t>(left));
        to = std::max<std::uint32_t>(to, static_cast<std::uint32_t>(right));
        anyDropped = true;
    }

    void fillRun(std::uint32_t y, std::size_t x) {
        CellRow& row = document.cells[y];
        const std::size_t left = runStart(row, x, old);
        const std::size_t right = firstOther(row, x, row.size(), old);
        setRun(row, static_cast<int>(y), left, right, value, changed, true);
        if (y > 0) push(y - 1, left, right);
        if (y + 1 < document.cells.size()) push(y + 1, left, right);
    }

    // Cells in it have the seed's state exactly where they are not `value`.
    void visit(const Segment& segment) {
        const CellRow& row = document.cells[segment.y];
        for (std::size_t x = segment.left; x < segment.right;) {
            x = firstOther(row, x, segment.right, value);
            if (x >= segment.right) break;
            fillRun(segment.y, x);
            x = firstOther(row, x, row.size(), old);
        }
    }

    void drain() {
        while (!pending.empty()) {
            const Segment segment = pending.back();
            pending.pop_back();
            visit(segment);
        }
    }

    // A cell of a dropped stretch belongs to the region where it still has
    // the seed's state and a cell above or below it was filled.
    bool joinsFilled(std::uint32_t y, std::size_t x) const {
        const int blockColumn = static_cast<int>(x / CHUNK), bit = static_cast<int>(x % CHUNK);
        const std::uint64_t near = RecordedCells(changed, blockColumn, static_cast<int>(y) - 1) |
                                   RecordedCells(changed, blockColumn, static_cast<int>(y) + 1);
        return near >> bit & 1;
    }

    void revisitDropped() {
        anyDropped = false;
        for (std::uint32_t y = 0; y < dropped.size(); ++y) {
            auto [from, to] = dropped[y];
            if (from >= to) continue;
            dropped[y] = {UINT32_MAX, 0};
            const CellRow& row = document.cells[y];
            for (std::size_t x = firstOther(row, from, to, value); x < to;
                 x = firstOther(row, x + 1, to, value)) {
                if (!joinsFilled(y, x)) continue;
                fillRun(y, x);
                drain();
            }
        }
    }
};

}  // namespace

void FillRegion(MapDocument& document, const CellPosition& seed, std::uint8_t value,
                CellMasks& changed, std::size_t maxPending) {
    if (!isCellOnGrid(seed, document) || document.cells[seed.y][seed.x] == value) return;
    Fill fill{document,
              value,
              document.cells[seed.y][seed.x],
              changed,
              std::max<std::size_t>(maxPending, 1),
              {},
              {},
              false};
    try {
        fill.fillRun(static_cast<std::uint32_t>(seed.y), static_cast<std::size_t>(seed.x));
        do {
            fill.drain();
            if (fill.anyDropped) fill.revisitDropped();
        } while (fill.anyDropped || !fill.pending.empty());
    } catch (const std::bad_alloc&) {
        // Every change so far is recorded there; a block whose masks could
        // not be made had not changed.
        changed.blockKeys.resize(std::min(changed.blockKeys.size(), changed.rows.size() / 64));
        ApplyMasks(changed, document.cells);
        changed = CellMasks{};
        throw;
    }
}
