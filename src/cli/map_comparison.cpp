#include "cli/map_comparison.h"

#include <algorithm>

namespace {

bool isSet(const CellRow& row, size_t x) { return x < row.size() && row[x] != 0; }

void compareParameters(const MapDocument& a, const MapDocument& b, MapComparison& comparison) {
    const auto [aWidth, aHeight] = a.gridSize();
    const auto [bWidth, bHeight] = b.gridSize();
    const std::pair<const char*, std::pair<std::string, std::string>> values[] = {
        {"name", {a.copyMapName(), b.copyMapName()}},
        {"width", {std::to_string(aWidth), std::to_string(bWidth)}},
        {"height", {std::to_string(aHeight), std::to_string(bHeight)}},
        {"rank1", {std::to_string(a.rank1), std::to_string(b.rank1)}},
        {"rank2", {std::to_string(a.rank2), std::to_string(b.rank2)}},
        {"rate1", {std::to_string(a.rate1), std::to_string(b.rate1)}},
        {"rate2", {std::to_string(a.rate2), std::to_string(b.rate2)}},
    };
    for (const auto& [name, pair] : values)
        if (pair.first != pair.second)
            comparison.parameters.push_back({name, pair.first, pair.second});
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
    for (const ParameterChange& change : comparison.parameters) {
        const bool isName = change.name == "name";
        out << change.name << ": " << (isName ? convert(change.a) : change.a) << " -> "
            << (isName ? convert(change.b) : change.b) << "\n";
    }
    out << "set_only_in_a: " << comparison.setOnlyInA << "\n"
        << "set_only_in_b: " << comparison.setOnlyInB << "\n";
    if (const auto& box = comparison.changedCells)
        out << "changed_cells: x " << box->x << ", y " << box->y << ", " << box->width << " x "
            << box->height << "\n";
}

nlohmann::ordered_json ComparisonJson(const MapComparison& comparison,
                                      const TextConversion& convert) {
    nlohmann::ordered_json parameters = nlohmann::ordered_json::object();
    for (const ParameterChange& change : comparison.parameters) {
        if (change.name == "name")
            parameters["name"] = {{"a", convert(change.a)}, {"b", convert(change.b)}};
        else
            parameters[change.name] = {{"a", std::stoll(change.a)}, {"b", std::stoll(change.b)}};
    }
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
