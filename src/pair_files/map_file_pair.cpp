#include "pair_files/map_file_pair.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "system/file_system.h"

namespace {

// A width of 0 or less is read as rows without cells; the height must be a
// size the document accepts.
bool isReadableSize(std::int32_t width, std::int32_t height) {
    return isAcceptedGridSize(std::max(width, 1), height);
}

using FilePtr = std::unique_ptr<FILE, int (*)(FILE*)>;

// One attempt. Failures name the pair's own files as the caller wrote them,
// whichever files were read.
Result<void> scanPair(const PairSources& sources, const SaveFiles& files, const PairPass& pass) {
    auto read = ReadPairParameters(sources.parameters);
    if (!read) return InFile(read.failure(), files.shownParameters);
    const MapParameters& parameters = read.value();
    if (!isReadableSize(parameters.x, parameters.y))
        return Failure{FailureKind::SizeRefused, files.shownParameters, 0, 0,
                       std::to_string(parameters.x) + " x " + std::to_string(parameters.y)};
    const Failure unreadable{FailureKind::FileUnreadable, files.shownGrid, 0, 0, ""};
    FilePtr file(OpenForReading(sources.grid), std::fclose);
    if (!file) return unreadable;
    if (!pass(parameters, file.get())) return unreadable;
    return {};
}

// Every change a save makes to what a read takes changes one of these: it
// puts a journal in place or removes it, or replaces or rewrites a target.
std::vector<FileStamp> stampsOf(const SaveFiles& files) {
    return {StampOfFile(files.grid), StampOfFile(files.parameters), StampOfFile(files.journal)};
}

}  // namespace

Result<PairSources> ScanMapFilePair(const std::string& mapPath, const PairPass& pass) {
    const SaveFiles files = SaveFilesFor(mapPath);
    constexpr int ATTEMPTS = 8;
    for (int attempt = 1;; ++attempt) {
        const auto before = stampsOf(files);
        const PairSources sources = PairSourcesToRead(files);
        const Result<void> read = scanPair(sources, files, pass);
        // A save ran meanwhile, so the files read may be of two versions:
        // read again, as they are now.
        if (attempt < ATTEMPTS && stampsOf(files) != before) continue;
        if (!read) return read.failure();
        return sources;
    }
}

MapParameters OpenedParameters(const MapParameters& written) {
    MapDocument opened;
    opened.applyThresholds(written.rank1, written.rank2, written.rate1, written.rate2);
    return {std::max(written.x, 0), written.y,    opened.rank1, opened.rank2,
            opened.rate1,           opened.rate2, written.name};
}

// The grid is built from the rows the pass reads; the document changes only
// once the whole pair was read.
Result<PairSources> ReadMapFilePair(const std::string& mapPath, MapDocument& document) {
    MapParameters parameters;
    CellGrid cells;
    const auto read = ScanMapFilePair(mapPath, [&](const MapParameters& written, FILE* file) {
        parameters = written;
        cells.clear();
        GridTextReader grid(file);
        const size_t width = static_cast<size_t>(std::max(written.x, 0));
        for (int y = 0; y < written.y; ++y) {
            cells.push_back(grid.readRow(width));
            grid.skipCharacter();
        }
        return !grid.failed();
    });
    if (!read) return read;
    document.applyThresholds(parameters.rank1, parameters.rank2, parameters.rate1,
                             parameters.rate2);
    document.setMapName(parameters.name);
    document.cells = std::move(cells);
    return read;
}
