#include "cli/map_summary.h"

#include <algorithm>
#include <vector>

#include "document/cell_chunks.h"
#include "pair_files/map_file_pair.h"

Result<MapSummary> SummarizePair(const std::string& mapPath) {
    MapSummary summary;
    const auto read = ScanMapFilePair(mapPath, [&](const MapParameters& written, FILE* file) {
        summary = {OpenedParameters(written), 0};
        GridTextReader grid(file);
        std::vector<std::uint8_t> spill;
        const auto width = static_cast<size_t>(summary.parameters.x);
        for (int y = 0; y < written.y; ++y)
            if (const std::uint8_t* cells = grid.readGridRow(width, spill))
                summary.setCells += CountSetBytes(cells, width);
        return !grid.failed();
    });
    if (!read) return read.failure();
    return summary;
}
