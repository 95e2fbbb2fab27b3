#include "cli/map_summary.h"

#include <algorithm>

MapSummary SummarizeMap(const MapDocument& map) {
    const auto [width, height] = map.gridSize();
    long long setCells = 0;
    for (const CellRow& row : map.cells) setCells += std::count(row.begin(), row.end(), 1);
    return {map.copyMapName(), width, height, map.rank1, map.rank2, map.rate1, map.rate2, setCells};
}
