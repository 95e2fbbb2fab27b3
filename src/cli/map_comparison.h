// What `kalmia-cli diff` reports about two maps.
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "document/map_document.h"

struct CellBox {
    int x, y, width, height;
};

struct NumberChange {
    const char* name;  // "width", "height", "rank1", ...
    long long a, b;
};

struct MapComparison {
    bool same = true;
    std::optional<std::pair<std::string, std::string>> names;  // ANSI code page; when they differ
    std::vector<NumberChange> numbers;  // the size and thresholds that differ
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
