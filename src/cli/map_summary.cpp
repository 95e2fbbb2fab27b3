#include "cli/map_summary.h"

#include <algorithm>

MapSummary SummarizeMap(const MapDocument& map) {
    long long setCells = 0;
    for (const CellRow& row : map.cells) setCells += std::count(row.begin(), row.end(), 1);
    return {ParametersOf(map), setCells};
}
