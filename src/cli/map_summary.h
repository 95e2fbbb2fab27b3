// What `kalmia-cli info` tells about a map as the editor holds it.
#pragma once

#include <cstdint>
#include <string>

#include "document/map_document.h"
#include "document/map_parameters.h"

struct MapSummary {
    MapParameters parameters;  // the name in the ANSI code page
    long long setCells = 0;
};

MapSummary SummarizeMap(const MapDocument& map);
