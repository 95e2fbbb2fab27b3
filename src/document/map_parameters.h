// The seven values of a map besides its cells, as its parameter file holds
// them, and the one table of its number fields that every reader, writer,
// printer and merge of them walks.
#pragma once

#include <cstdint>
#include <string>

#include "document/map_document.h"

struct MapParameters {
    std::int32_t x = 0, y = 0;  // the width and the height
    std::int32_t rank1 = 0, rank2 = 0, rate1 = 0, rate2 = 0;
    std::string name;  // in the ANSI code page
    bool operator==(const MapParameters& other) const;
    bool operator!=(const MapParameters& other) const { return !(*this == other); }
};

struct NumberField {
    const char* element;  // the parameter file's element
    const char* shown;    // what kalmia-cli calls it
    std::int32_t MapParameters::*value;
};

// In the order of the parameter file; the name comes after them.
constexpr NumberField NUMBER_FIELDS[] = {
    {"x", "width", &MapParameters::x},         {"y", "height", &MapParameters::y},
    {"rank1", "rank1", &MapParameters::rank1}, {"rank2", "rank2", &MapParameters::rank2},
    {"rate1", "rate1", &MapParameters::rate1}, {"rate2", "rate2", &MapParameters::rate2},
};
constexpr char NAME_ELEMENT[] = "name";

// The document's values, its size as x and y.
MapParameters ParametersOf(const MapDocument& document);
