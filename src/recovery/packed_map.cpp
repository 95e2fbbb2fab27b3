#include "recovery/packed_map.h"

#include <algorithm>

namespace {

void xorMasks(PackedMap& map, const CellMasks& masks) {
    const auto height = static_cast<std::size_t>(map.parameters.y);
    for (std::size_t block = 0; block < masks.blockKeys.size(); ++block) {
        const MaskBlock where = BlockOfKey(masks.blockKeys[block]);
        if (where.column >= map.rowWords) continue;  // beyond the map (never recorded)
        const std::uint64_t* rows = masks.rows.data() + block * MASK_BLOCK_CELLS;
        const auto top = static_cast<std::size_t>(where.top());
        for (std::size_t y = 0; y < MASK_BLOCK_CELLS && top + y < height; ++y)
            map.words[(top + y) * map.rowWords + where.column] ^= rows[y];
    }
}

// Keeps the overlap of the old and the new size; new cells are clear.
void resize(PackedMap& map, int width, int height) {
    const std::size_t rowWords = RowWordsFor(width);
    std::vector<std::uint64_t> words(rowWords * static_cast<std::size_t>(height), 0);
    const std::size_t keptWords = std::min(rowWords, map.rowWords);
    const auto keptRows = static_cast<std::size_t>(std::min(height, map.parameters.y));
    const std::uint64_t lastWordBits =
        width % 64 == 0 ? ~std::uint64_t{0} : (std::uint64_t{1} << (width % 64)) - 1;
    for (std::size_t y = 0; y < keptRows; ++y) {
        std::copy_n(map.words.begin() + static_cast<std::ptrdiff_t>(y * map.rowWords), keptWords,
                    words.begin() + static_cast<std::ptrdiff_t>(y * rowWords));
        words[y * rowWords + rowWords - 1] &= lastWordBits;
    }
    map.words.swap(words);
    map.rowWords = rowWords;
    map.parameters.x = width;
    map.parameters.y = height;
}

}  // namespace

std::size_t RowWordsFor(int width) { return (static_cast<std::size_t>(width) + 63) / 64; }

// Eight cells at a time: a cell's byte is 0 or 1, so its bit is the byte.
PackedMap PackMap(const MapDocument& document) {
    PackedMap map;
    map.parameters = ParametersOf(document);
    map.rowWords = RowWordsFor(map.parameters.x);
    map.words.assign(map.rowWords * static_cast<std::size_t>(map.parameters.y), 0);
    std::uint64_t* word = map.words.data();
    for (const CellRow& row : document.cells) {
        std::size_t x = 0;
        for (const std::uint8_t cell : row) {
            word[x / 64] |= std::uint64_t{cell & 1u} << (x % 64);
            ++x;
        }
        word += map.rowWords;
    }
    return map;
}

MapDocument UnpackMap(const PackedMap& map) {
    MapDocument document;
    const MapParameters& parameters = map.parameters;
    document.name = parameters.name;
    document.rank1 = parameters.rank1;
    document.rank2 = parameters.rank2;
    document.rate1 = parameters.rate1;
    document.rate2 = parameters.rate2;
    document.cells.assign(static_cast<std::size_t>(parameters.y),
                          CellRow(static_cast<std::size_t>(parameters.x), 0));
    const std::uint64_t* word = map.words.data();
    for (CellRow& row : document.cells) {
        std::size_t x = 0;
        for (std::uint8_t& cell : row) {
            cell = static_cast<std::uint8_t>((word[x / 64] >> (x % 64)) & 1u);
            ++x;
        }
        word += map.rowWords;
    }
    return document;
}

// In the order the history takes the step: forward the size first, then
// the cells; backward the size back, the dropped cells, then the cells.
void ApplyStepTo(PackedMap& map, const EditStep& step, StepDirection direction) {
    if (step.parameters) {
        const bool forward = direction == StepDirection::Forward;
        const MapParameters& target = forward ? step.parameters->after : step.parameters->before;
        resize(map, target.x, target.y);
        if (!forward) xorMasks(map, step.parameters->dropped);
        map.parameters = target;
    }
    xorMasks(map, step.cells);
}
