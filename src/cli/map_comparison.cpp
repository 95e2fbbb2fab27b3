#include "cli/map_comparison.h"

#include <algorithm>

namespace {

bool isSet(const CellRow& row, size_t x) { return x < row.size() && row[x] != 0; }

void compareParameters(const MapDocument& a, const MapDocument& b, MapComparison& comparison) {
    const auto [aWidth, aHeight] = a.gridSize();
    const auto [bWidth, bHeight] = b.gridSize();
    if (a.copyMapName() != b.copyMapName()) comparison.names = {a.copyMapName(), b.copyMapName()};
    const NumberChange numbers[] = {
        {"width", aWidth, bWidth},   {"height", aHeight, bHeight}, {"rank1", a.rank1, b.rank1},
        {"rank2", a.rank2, b.rank2}, {"rate1", a.rate1, b.rate1},  {"rate2", a.rate2, b.rate2},
    };
    for (const NumberChange& number : numbers)
        if (number.a != number.b) comparison.numbers.push_back(number);
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

MapComparison CompareMaps(const MapDocument& a, const MapDocument& b) {
    MapComparison comparison;
    compareParameters(a, b, comparison);
    static const CellRow NO_ROW;
    const size_t rows = std::max(a.cells.size(), b.cells.size());
    for (size_t y = 0; y < rows; ++y) {
        const CellRow& inA = y < a.cells.size() ? a.cells[y] : NO_ROW;
        const CellRow& inB = y < b.cells.size() ? b.cells[y] : NO_ROW;
        if (inA == inB) continue;
        const size_t columns = std::max(inA.size(), inB.size());
        for (size_t x = 0; x < columns; ++x) {
            const bool setInA = isSet(inA, x), setInB = isSet(inB, x);
            if (setInA == setInB) continue;
            (setInA ? comparison.setOnlyInA : comparison.setOnlyInB) += 1;
            growBox(comparison.changedCells, static_cast<int>(x), static_cast<int>(y));
        }
    }
    comparison.same = a == b;
    return comparison;
}

void PrintComparison(const MapComparison& comparison, const TextConversion& convert,
                     std::ostream& out) {
    out << (comparison.same ? "same: yes\n" : "same: no\n");
    if (const auto& names = comparison.names)
        out << "name: " << convert(names->first) << " -> " << convert(names->second) << "\n";
    for (const NumberChange& number : comparison.numbers)
        out << number.name << ": " << number.a << " -> " << number.b << "\n";
    out << "set_only_in_a: " << comparison.setOnlyInA << "\n"
        << "set_only_in_b: " << comparison.setOnlyInB << "\n";
    if (const auto& box = comparison.changedCells)
        out << "changed_cells: x " << box->x << ", y " << box->y << ", " << box->width << " x "
            << box->height << "\n";
}

nlohmann::ordered_json ComparisonJson(const MapComparison& comparison,
                                      const TextConversion& convert) {
    nlohmann::ordered_json parameters = nlohmann::ordered_json::object();
    if (const auto& names = comparison.names)
        parameters["name"] = {{"a", convert(names->first)}, {"b", convert(names->second)}};
    for (const NumberChange& number : comparison.numbers)
        parameters[number.name] = {{"a", number.a}, {"b", number.b}};
    nlohmann::ordered_json box = nullptr;
    if (const auto& changed = comparison.changedCells)
        box = {{"x", changed->x},
               {"y", changed->y},
               {"width", changed->width},
               {"height", changed->height}};
    return {{"same", comparison.same},
            {"parameters", parameters},
            {"set_only_in_a", comparison.setOnlyInA},
            {"set_only_in_b", comparison.setOnlyInB},
            {"changed_cells", box}};
}
