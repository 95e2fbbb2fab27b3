// What `kalmia-cli diff` reports about two maps.
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "document/map_document.h"

struct CellBox {
    int x, y, width, height;
};

struct ParameterChange {
    std::string name;  // "name", "rank1", ...
    std::string a, b;  // the values as text (the map name in the ANSI code page)
};

struct MapComparison {
    bool same = true;
    std::vector<ParameterChange> parameters;  // the size included, as "width" and "height"
    long long setOnlyInA = 0;
    long long setOnlyInB = 0;
    std::optional<CellBox> changedCells;  // the smallest box around every changed cell
};

// Cells outside a map's size count as clear in it.
MapComparison CompareMaps(const MapDocument& a, const MapDocument& b);

using TextConversion = std::function<std::string(const std::string&)>;

// One "key: value" a line; the map name passed through `convert`.
void PrintComparison(const MapComparison& comparison, const TextConversion& convert,
                     std::ostream& out);
nlohmann::ordered_json ComparisonJson(const MapComparison& comparison,
                                      const TextConversion& convert);
