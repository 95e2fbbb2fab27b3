#include "cli/pair_check.h"

#include <algorithm>

#include "cli/grid_file_scan.h"
#include "pair_files/map_file_pair.h"

namespace {

// Thresholds that the ordering rule refuses: the editor keeps its own value.
void checkThresholds(const std::string& xmlPath, const MapParameters& written,
                     const MapParameters& opened, std::vector<PairMessage>& warnings) {
    auto refused = [&](const char* name, std::int32_t value, const char* rule, std::int32_t kept) {
        warnings.push_back({xmlPath, 0, 0, "threshold-order",
                            std::string(name) + " " + std::to_string(value) + " is " + rule +
                                "; the editor keeps " + std::to_string(kept)});
    };
    if (!isRank2InOrder(written.rank1, written.rank2))
        refused("rank2", written.rank2, "below rank1", opened.rank2);
    if (!isRate2InOrder(written.rate1, written.rate2))
        refused("rate2", written.rate2, "above rate1", opened.rate2);
}

}  // namespace

// One pass over the grid file: the warnings follow its lines while the
// rows are read (only when the map itself is wanted) and the rest is read
// to its end. Beside an interrupted save the read may take the save's new
// files: the warnings are about those, under the pair's own names.
PairCheck CheckPair(const std::string& mapPath, MapDocument* opened) {
    PairCheck check{mapPath, {}, {}};
    MapParameters written;
    CellGrid cells;
    std::vector<PairMessage> gridWarnings;
    const Result<PairSources> sources =
        ScanMapFilePair(mapPath, [&](const MapParameters& parameters, FILE* file) {
            written = parameters;
            cells.clear();
            GridLineWarnings lines(mapPath, std::max(parameters.x, 0));
            GridTextReader grid(file, &lines.follower());
            const size_t width = static_cast<size_t>(std::max(parameters.x, 0));
            for (int y = 0; opened && y < parameters.y; ++y) {
                cells.push_back(grid.readRow(width));
                grid.skipCharacter();
            }
            grid.readToTheEnd();
            gridWarnings = lines.finish(parameters.y);
            return !grid.failed();
        });
    if (!sources) {
        check.errors.push_back(MessageOf(sources.failure()));
        return check;
    }
    check.warnings = std::move(gridWarnings);
    checkThresholds(MakeXmlPath(mapPath), written, OpenedParameters(written), check.warnings);
    if (opened) {
        opened->applyThresholds(written.rank1, written.rank2, written.rate1, written.rate2);
        opened->setMapName(written.name);
        opened->cells = std::move(cells);
    }
    return check;
}

bool Passes(const PairCheck& check, bool strict) {
    return check.errors.empty() && (!strict || check.warnings.empty());
}
