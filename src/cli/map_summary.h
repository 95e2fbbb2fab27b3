// What `kalmia-cli info` tells about a map as the editor holds it.
#pragma once

#include <cstdint>
#include <string>

#include "document/map_document.h"

struct MapSummary {
    std::string name;  // ANSI code page
    int width = 0, height = 0;
    std::int32_t rank1 = 0, rank2 = 0, rate1 = 0, rate2 = 0;
    long long setCells = 0;
};

MapSummary SummarizeMap(const MapDocument& map);
