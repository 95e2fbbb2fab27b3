#include "cli/map_comparison.h"

#include <algorithm>
#include <cstring>

#include "document/cell_chunks.h"

namespace {

bool isSet(const std::uint8_t* row, size_t width, size_t x) { return x < width && row[x] != 0; }

void growBox(std::optional<CellBox>& box, int left, int right, int y) {
    if (!box) {
        box = CellBox{left, y, right - left + 1, 1};
        return;
    }
    const int boxRight = std::max(box->x + box->width, right + 1);
    const int bottom = std::max(box->y + box->height, y + 1);
    box->x = std::min(box->x, left);
    box->y = std::min(box->y, y);
    box->width = boxRight - box->x;
    box->height = bottom - box->y;
}

// Cells [from, to) of a row present in both maps, eight at a time: bytes of
// 0 and 1, so a & ~b holds 1 exactly where a cell is set in A only.
void countBoth(const std::uint8_t* a, const std::uint8_t* b, size_t from, size_t to,
               long long& onlyA, long long& onlyB) {
    size_t x = from;
    for (; x + 8 <= to; x += 8) {
        std::uint64_t wordA, wordB;
        std::memcpy(&wordA, a + x, 8);
        std::memcpy(&wordB, b + x, 8);
        if (wordA == wordB) continue;
        std::uint8_t bytes[8];
        const std::uint64_t inA = wordA & ~wordB, inB = wordB & ~wordA;
        std::memcpy(bytes, &inA, 8);
        onlyA += CountSetBytes(bytes, 8);
        std::memcpy(bytes, &inB, 8);
        onlyB += CountSetBytes(bytes, 8);
    }
    for (; x < to; ++x) onlyA += a[x] && !b[x], onlyB += b[x] && !a[x];
}

// Where two rows of `count` cells that differ first and last differ.
size_t firstDifference(const std::uint8_t* a, const std::uint8_t* b, size_t count) {
    size_t x = 0;
    for (std::uint64_t wordA, wordB; x + 8 <= count; x += 8) {
        std::memcpy(&wordA, a + x, 8);
        std::memcpy(&wordB, b + x, 8);
        if (wordA != wordB) break;
    }
    while (a[x] == b[x]) ++x;
    return x;
}

size_t lastDifference(const std::uint8_t* a, const std::uint8_t* b, size_t count) {
    size_t x = count;
    for (std::uint64_t wordA, wordB; x >= 8; x -= 8) {
        std::memcpy(&wordA, a + x - 8, 8);
        std::memcpy(&wordB, b + x - 8, 8);
        if (wordA != wordB) break;
    }
    do --x;
    while (a[x] == b[x]);
    return x;
}

}  // namespace

CellChange ChangeAt(const RowPair& rows, size_t x) {
    const bool setInA = isSet(rows.inA, rows.widthA, x), setInB = isSet(rows.inB, rows.widthB, x);
    if (setInA == setInB) return setInA ? CellChange::SetInBoth : CellChange::ClearInBoth;
    return setInA ? CellChange::SetOnlyInA : CellChange::SetOnlyInB;
}

void CompareParameters(const MapParameters& a, const MapParameters& b, MapComparison& comparison) {
    if (a.name != b.name) comparison.names = {a.name, b.name};
    for (const NumberField& field : NUMBER_FIELDS)
        if (a.*field.value != b.*field.value)
            comparison.numbers.push_back({field.shown, a.*field.value, b.*field.value});
    comparison.same = comparison.same && a == b;
}

// The common part is compared a word at a time and searched for its first
// and last change from both ends; a part only one map has is counted alone.
void CompareRows(const RowPair& rows, int y, MapComparison& comparison) {
    const size_t common = std::min(rows.widthA, rows.widthB);
    size_t first = common, last = common;
    if (common > 0 && std::memcmp(rows.inA, rows.inB, common) != 0) {
        first = firstDifference(rows.inA, rows.inB, common);
        last = lastDifference(rows.inA, rows.inB, common) + 1;
    }
    long long onlyA = 0, onlyB = 0;
    countBoth(rows.inA, rows.inB, first, last, onlyA, onlyB);
    const bool aLonger = rows.widthA > common;
    const std::uint8_t* rest = aLonger ? rows.inA : rows.inB;
    const size_t restWidth = std::max(rows.widthA, rows.widthB);
    const long long restSet = CountSetBytes(rest + common, restWidth - common);
    (aLonger ? onlyA : onlyB) += restSet;
    if (onlyA + onlyB == 0) return;
    size_t left = first < last ? first : restWidth, right = first < last ? last - 1 : 0;
    if (restSet > 0) {
        size_t restFirst = common, restLast = restWidth - 1;
        while (!rest[restFirst]) ++restFirst;
        while (!rest[restLast]) --restLast;
        left = std::min(left, restFirst);
        right = std::max(right, restLast);
    }
    comparison.setOnlyInA += onlyA;
    comparison.setOnlyInB += onlyB;
    comparison.same = false;
    growBox(comparison.changedCells, static_cast<int>(left), static_cast<int>(right), y);
}
