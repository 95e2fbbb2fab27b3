// What `kalmia-cli info` tells about a map as the editor holds it.
#pragma once

#include <cstdint>
#include <string>

#include "document/map_document.h"
#include "document/map_parameters.h"
#include "system/failure.h"

struct MapSummary {
    MapParameters parameters;  // the name in the ANSI code page
    long long setCells = 0;
};

// The pair as the editor holds it after opening it, in one pass over its
// grid file: the set cells are counted as the rows are read, without
// building the grid.
Result<MapSummary> SummarizePair(const std::string& mapPath);
