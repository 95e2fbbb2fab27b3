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

// The warnings follow the grid file's lines while the rows are read (only
// when they are wanted) and the rest is read to its end. Beside an
// interrupted save the read may take the save's new files: the warnings are
// about those, under the pair's own names.
PairCheck CheckPair(const std::string& mapPath, const PairRowsVisitor& visit) {
    PairCheck check{mapPath, {}, {}};
    MapParameters written;
    std::vector<PairMessage> gridWarnings;
    const Result<PairSources> sources =
        ScanMapFilePair(mapPath, [&](const MapParameters& parameters, FILE* file) {
            written = parameters;
            GridLineWarnings lines(mapPath, std::max(parameters.x, 0));
            GridTextReader grid(file, &lines.follower());
            const MapParameters opened = OpenedParameters(parameters);
            std::vector<std::uint8_t> spill;
            if (visit) visit(opened, [&] { return grid.readGridRow(size_t(opened.x), spill); });
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
    return check;
}

bool Passes(const PairCheck& check, bool strict) {
    return check.errors.empty() && (!strict || check.warnings.empty());
}
