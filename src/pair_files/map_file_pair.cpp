#include "pair_files/map_file_pair.h"

#include <algorithm>
#include <cstdint>

#include "system/file_system.h"

namespace {

// A width of 0 or less is read as rows without cells; the height must be a
// size the document accepts.
bool isReadableSize(std::int32_t width, std::int32_t height) {
    return isAcceptedGridSize(std::max(width, 1), height);
}

struct ReadPair {
    MapParameters parameters;
    CellGrid cells;
};

// Failures name the pair's own files as the caller wrote them, whichever
// files were read.
Result<ReadPair> readPair(const PairSources& sources, const SaveFiles& files) {
    auto read = ReadPairParameters(sources.parameters);
    if (!read) return InFile(read.failure(), files.shownParameters);
    MapParameters& parameters = read.value();
    if (!isReadableSize(parameters.x, parameters.y))
        return Failure{FailureKind::SizeRefused, files.shownParameters, 0, 0,
                       std::to_string(parameters.x) + " x " + std::to_string(parameters.y)};
    auto grid = ReadGridFile(sources.grid, parameters.x, parameters.y);
    if (!grid) return InFile(grid.failure(), files.shownGrid);
    return ReadPair{std::move(parameters), std::move(grid.value())};
}

// Every change a save makes to what a read takes changes one of these: it
// puts a journal in place or removes it, or replaces or rewrites a target.
std::vector<FileStamp> stampsOf(const SaveFiles& files) {
    return {StampOfFile(files.grid), StampOfFile(files.parameters), StampOfFile(files.journal)};
}

}  // namespace

Result<PairSources> ReadMapFilePair(const std::string& mapPath, MapDocument& document) {
    const SaveFiles files = SaveFilesFor(mapPath);
    constexpr int ATTEMPTS = 8;
    for (int attempt = 1;; ++attempt) {
        const auto before = stampsOf(files);
        const PairSources sources = PairSourcesToRead(files);
        auto read = readPair(sources, files);
        // A save ran meanwhile, so the files read may be of two versions:
        // read again, as they are now.
        if (attempt < ATTEMPTS && stampsOf(files) != before) continue;
        if (!read) return read.failure();
        ReadPair& pair = read.value();
        const MapParameters& parameters = pair.parameters;
        document.applyThresholds(parameters.rank1, parameters.rank2, parameters.rate1,
                                 parameters.rate2);
        document.setMapName(parameters.name);
        document.cells = std::move(pair.cells);
        return sources;
    }
}
