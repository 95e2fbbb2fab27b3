#include "cli/pair_check.h"

#include <algorithm>

#include "cli/grid_file_scan.h"
#include "pair_files/map_file_pair.h"

namespace {

// Thresholds that the ordering rule refuses: the editor keeps its own value.
void checkThresholds(const std::string& xmlPath, const MapParameters& written,
                     const MapDocument& read, std::vector<PairMessage>& warnings) {
    auto refused = [&](const char* name, std::int32_t value, const char* rule, std::int32_t kept) {
        warnings.push_back({xmlPath, 0, 0, "threshold-order",
                            std::string(name) + " " + std::to_string(value) + " is " + rule +
                                "; the editor keeps " + std::to_string(kept)});
    };
    if (!isRank2InOrder(written.rank1, written.rank2))
        refused("rank2", written.rank2, "below rank1", read.rank2);
    if (!isRate2InOrder(written.rate1, written.rate2))
        refused("rate2", written.rate2, "above rate1", read.rate2);
}

}  // namespace

PairCheck CheckPair(const std::string& mapPath, MapDocument* opened) {
    PairCheck check{mapPath, {}, {}};
    MapDocument read;
    const Result<PairSources> sources = ReadMapFilePair(mapPath, read);
    if (!sources) {
        check.errors.push_back(MessageOf(sources.failure()));
        return check;
    }
    // Beside an interrupted save the read may have taken the save's new
    // files: the warnings are about those, under the pair's own names.
    const std::string xmlPath = MakeXmlPath(mapPath);
    const auto parameters = ReadPairParameters(sources.value().parameters);
    if (parameters) {
        const MapParameters& written = parameters.value();
        checkThresholds(xmlPath, written, read, check.warnings);
        auto gridWarnings = ScanGridFile(sources.value().grid, std::max(written.x, 0), written.y);
        for (PairMessage& warning : gridWarnings) warning.path = mapPath;
        check.warnings.insert(check.warnings.begin(), gridWarnings.begin(), gridWarnings.end());
    }
    if (opened) *opened = std::move(read);
    return check;
}

bool Passes(const PairCheck& check, bool strict) {
    return check.errors.empty() && (!strict || check.warnings.empty());
}
