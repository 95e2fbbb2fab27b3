#include "document/grid_text_reader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t BLOCK_BYTES = 1 << 16;
constexpr std::uint8_t END_OF_FILE_MARK = 0x1A;

// Cells of a run without CR, eight characters at a time: in each byte of
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

GridTextReader::GridTextReader(FILE* file) : file(file), raw(BLOCK_BYTES), buffer(BLOCK_BYTES) {}

void GridTextReader::translateBlock(size_t rawSize) {
    const std::uint8_t* data = raw.data();
    std::uint8_t* cells = buffer.data();
    const auto* markAt =
        static_cast<const std::uint8_t*>(std::memchr(data, END_OF_FILE_MARK, rawSize));
    if (markAt) {
        rawSize = static_cast<size_t>(markAt - data);
        ended = true;
    }
    size_t in = 0;
    size_t out = 0;
    while (in < rawSize) {
        const auto* found =
            static_cast<const std::uint8_t*>(std::memchr(data + in, '\r', rawSize - in));
        const size_t runEnd = found ? static_cast<size_t>(found - data) : rawSize;
        translateRun(data + in, runEnd - in, cells + out);
        out += runEnd - in;
        in = runEnd;
        if (in == rawSize) break;
        ++in;  // the CR: one character, alone or with its LF
        cells[out++] = 0;
        if (in < rawSize) {
            if (data[in] == '\n') ++in;
        } else if (!ended) {
            // The block ends in CR: its LF may be the next byte of the file.
            const int next = std::fgetc(file);
            if (next != '\n' && next != EOF) std::ungetc(next, file);
        }
    }
    at = 0;
    filled = out;
}

bool GridTextReader::refill() {
    while (!ended) {
        const size_t rawSize = std::fread(raw.data(), 1, raw.size(), file);
        if (rawSize == 0) {
            ended = true;
            readError = std::ferror(file) != 0;
            at = filled = 0;
            return false;
        }
        translateBlock(rawSize);
        if (filled > 0) return true;
    }
    return false;
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

void GridTextReader::skipCharacter() {
    if (at == filled && !refill()) return;
    ++at;
}
