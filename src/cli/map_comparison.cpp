#include "cli/map_comparison.h"

#include <algorithm>

#include "document/map_parameters.h"

namespace {

bool isSet(const CellRow& row, size_t x) { return x < row.size() && row[x] != 0; }

const CellRow NO_ROW;

void compareParameters(const MapDocument& a, const MapDocument& b, MapComparison& comparison) {
    const MapParameters inA = ParametersOf(a), inB = ParametersOf(b);
    if (inA.name != inB.name) comparison.names = {inA.name, inB.name};
    for (const NumberField& field : NUMBER_FIELDS)
        if (inA.*field.value != inB.*field.value)
            comparison.numbers.push_back({field.shown, inA.*field.value, inB.*field.value});
}

void growBox(std::optional<CellBox>& box, int x, int y) {
    if (!box) {
        box = CellBox{x, y, 1, 1};
        return;
    }
    const int right = std::max(box->x + box->width, x + 1);
    const int bottom = std::max(box->y + box->height, y + 1);
    box->x = std::min(box->x, x);
    box->y = std::min(box->y, y);
    box->width = right - box->x;
    box->height = bottom - box->y;
}

}  // namespace

RowPair RowsAt(const MapDocument& a, const MapDocument& b, size_t y) {
    return {y < a.cells.size() ? a.cells[y] : NO_ROW, y < b.cells.size() ? b.cells[y] : NO_ROW};
}

CellChange ChangeAt(const RowPair& rows, size_t x) {
    const bool setInA = isSet(rows.inA, x), setInB = isSet(rows.inB, x);
    if (setInA == setInB) return setInA ? CellChange::SetInBoth : CellChange::ClearInBoth;
    return setInA ? CellChange::SetOnlyInA : CellChange::SetOnlyInB;
}

MapComparison CompareMaps(const MapDocument& a, const MapDocument& b) {
    MapComparison comparison;
    compareParameters(a, b, comparison);
    const size_t rows = std::max(a.cells.size(), b.cells.size());
    for (size_t y = 0; y < rows; ++y) {
        const RowPair row = RowsAt(a, b, y);
        if (row.inA == row.inB) continue;
        const size_t columns = std::max(row.inA.size(), row.inB.size());
        for (size_t x = 0; x < columns; ++x) {
            const CellChange change = ChangeAt(row, x);
            if (change == CellChange::SetOnlyInA) ++comparison.setOnlyInA;
            if (change == CellChange::SetOnlyInB) ++comparison.setOnlyInB;
            if (change == CellChange::SetOnlyInA || change == CellChange::SetOnlyInB)
                growBox(comparison.changedCells, static_cast<int>(x), static_cast<int>(y));
        }
    }
    comparison.same = a == b;
    return comparison;
}
