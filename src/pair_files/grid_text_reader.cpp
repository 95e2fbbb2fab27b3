#include "pair_files/grid_text_reader.h"

#include <algorithm>
#include <cstring>

namespace {

// Cells of a run of characters, eight at a time: in each byte of
// x = word ^ "11111111" a zero marks a "1"; the arithmetic below turns each
// zero byte into 1 and every other byte into 0, with no carry between bytes.
void translateRun(const std::uint8_t* from, size_t count, std::uint8_t* to) {
    constexpr std::uint64_t ONES = 0x3131313131313131ULL;
    constexpr std::uint64_t LOW7 = 0x7F7F7F7F7F7F7F7FULL;
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, from + i, 8);
        const std::uint64_t x = word ^ ONES;
        const std::uint64_t zeroHighBits = ~(((x & LOW7) + LOW7) | x | LOW7);
        const std::uint64_t cells = zeroHighBits >> 7;
        std::memcpy(to + i, &cells, 8);
    }
    for (; i < count; ++i) to[i] = from[i] == '1';
}

}  // namespace

GridTextReader::GridTextReader(FILE* file, const GridTextFollower* follower)
    : scan(file), follower(follower), buffer(GRID_TEXT_BLOCK_BYTES) {}

void GridTextReader::characters(const char* begin, size_t count) {
    if (translating)
        translateRun(reinterpret_cast<const std::uint8_t*>(begin), count, buffer.data() + filled);
    filled += count;
    if (follower) follower->characters(begin, count);
}

void GridTextReader::lineEnd() {
    buffer[filled++] = 0;
    if (follower) follower->lineEnd();
}

void GridTextReader::loneCr(const char* cr) {
    buffer[filled++] = 0;
    if (follower) follower->loneCr(cr);
}

bool GridTextReader::refill() {
    at = filled = 0;
    while (filled == 0)
        if (!scan.scanNextBlock(*this)) return false;
    return true;
}

CellRow GridTextReader::readRow(size_t count) {
    if (at == filled) refill();
    if (filled - at >= count) {  // the whole row in this block: built in one go
        CellRow row(buffer.begin() + at, buffer.begin() + at + count);
        at += count;
        return row;
    }
    CellRow row;
    appendCells(row, count);
    return row;
}

void GridTextReader::appendCells(CellRow& row, size_t count) {
    while (count > 0) {
        if (at == filled && !refill()) {
            row.insert(row.end(), count, 0);
            return;
        }
        const size_t taken = std::min(count, filled - at);
        row.insert(row.end(), buffer.begin() + at, buffer.begin() + at + taken);
        at += taken;
        count -= taken;
    }
}

const std::uint8_t* GridTextReader::readRowCells(size_t count, std::vector<std::uint8_t>& spill) {
    if (at == filled) refill();
    if (filled - at >= count) {
        const std::uint8_t* cells = buffer.data() + at;
        at += count;
        return cells;
    }
    spill.resize(count);
    for (size_t done = 0; done < count;) {
        if (at == filled && !refill()) {
            std::fill(spill.begin() + static_cast<std::ptrdiff_t>(done), spill.end(), 0);
            break;
        }
        const size_t taken = std::min(count - done, filled - at);
        std::memcpy(spill.data() + done, buffer.data() + at, taken);
        at += taken;
        done += taken;
    }
    return spill.data();
}

const std::uint8_t* GridTextReader::readGridRow(size_t count, std::vector<std::uint8_t>& spill) {
    const std::uint8_t* cells = readRowCells(count, spill);
    skipCharacter();
    return failed() ? nullptr : cells;
}

// No cell is read from here on, so the characters need no translation.
void GridTextReader::readToTheEnd() {
    translating = false;
    while (refill()) {
    }
}

void GridTextReader::skipCharacter() {
    if (at == filled && !refill()) return;
    ++at;
}
