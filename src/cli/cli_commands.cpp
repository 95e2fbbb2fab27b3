#include "cli/cli_commands.h"

#include "cli/json_printer.h"
#include "cli/map_comparison.h"
#include "cli/map_pictures.h"
#include "cli/map_summary.h"
#include "cli/pair_check.h"
#include "cli/text_printer.h"
#include "pair_files/map_file_pair.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// Opens a pair as the editor does right after it starts; on refusal, says
// why on standard error.
Result<MapDocument> openPair(const std::string& mapPath) {
    MapDocument map;
    const Result<PairSources> read = ReadMapFilePair(mapPath, map);
    if (read) return map;
    PrintFailure(read.failure());
    return read.failure();
}

template <typename Printed>
void print(const Printed& result, bool json) {
    if (json)
        PrintJson(result);
    else
        PrintText(result);
}

// A file not written: the reason on standard error.
ExitStatus notWritten(const Result<void>& written) {
    if (written) return ExitStatus::Yes;
    PrintFailure(written.failure());
    return ExitStatus::NotAnswered;
}

}  // namespace

ExitStatus RunCheck(const std::vector<std::string>& mapPaths, bool json, bool strict) {
    ExitStatus status = ExitStatus::Yes;
    for (const std::string& path : mapPaths) {
        const PairCheck check = CheckPair(path);
        const bool passed = Passes(check, strict);
        if (!passed) status = ExitStatus::No;
        PrintMessages(check);
        if (json) PrintJson(check, passed);
    }
    return status;
}

ExitStatus RunInfo(const std::string& mapPath, bool json) {
    const Result<MapSummary> summary = SummarizePair(mapPath);
    if (!summary) {
        PrintFailure(summary.failure());
        return ExitStatus::No;
    }
    print(summary.value(), json);
    return ExitStatus::Yes;
}

// The picture is written as the rows are read; one that could not be read
// leaves no picture.
ExitStatus RunRender(const std::string& mapPath, const std::string& pngPath, int cellSize) {
    Result<void> written;
    const Result<PairSources> read =
        ScanMapFilePair(mapPath, [&](const MapParameters& parameters, FILE* file) {
            GridTextReader grid(file);
            std::vector<std::uint8_t> spill;
            const int columns = OpenedParameters(parameters).x;
            written = WriteMapPng(columns, parameters.y, cellSize, pngPath,
                                  [&] { return grid.readGridRow(size_t(columns), spill); });
            return !grid.failed();
        });
    if (!read) {
        PrintFailure(read.failure());
        return ExitStatus::No;
    }
    return notWritten(written);
}

namespace {

// Rows y of two maps as their readers read them, none past a map's height.
struct TwoReaders {
    GridTextReader &a, &b;
    MapParameters inA, inB;
    std::vector<std::uint8_t> spillA, spillB;
    int y = 0;

    RowPair next() {
        RowPair rows;
        // Cells are given even past a read error (as clear), which the
        // readers report when the pass ends.
        if (y < inA.y) {
            rows.widthA = size_t(inA.x);
            rows.inA = a.readRowCells(rows.widthA, spillA);
            a.skipCharacter();
        }
        if (y < inB.y) {
            rows.widthB = size_t(inB.x);
            rows.inB = b.readRowCells(rows.widthB, spillB);
            b.skipCharacter();
        }
        ++y;
        return rows;
    }
};

// Both maps are read together, a row of each at a time, and compared as
// they are read; the picture, if one is asked for, is made of the same rows.
struct Difference {
    MapComparison comparison;
    Result<void> picture;
};

Result<Difference> comparePairs(const std::string& aPath, const std::string& bPath,
                                const std::string& pngPath, int cellSize) {
    Difference difference;
    std::optional<Failure> refusedB;
    const Result<PairSources> readA =
        ScanMapFilePair(aPath, [&](const MapParameters& a, FILE* fileA) {
            GridTextReader gridA(fileA);
            const Result<PairSources> readB = ScanMapFilePair(bPath, [&](const MapParameters& b,
                                                                         FILE* fileB) {
                GridTextReader gridB(fileB);
                TwoReaders rows{gridA, gridB, OpenedParameters(a), OpenedParameters(b), {}, {}, 0};
                difference = {};
                CompareParameters(rows.inA, rows.inB, difference.comparison);
                auto compared = [&] {
                    const RowPair pair = rows.next();
                    CompareRows(pair, rows.y - 1, difference.comparison);
                    return pair;
                };
                const int height = std::max(rows.inA.y, rows.inB.y);
                if (pngPath.empty()) {
                    while (rows.y < height) compared();
                } else {
                    difference.picture = DifferencePicture(rows.inA, rows.inB, cellSize)
                                             .write(pngPath, [&]() -> std::optional<RowPair> {
                                                 const RowPair pair = compared();
                                                 if (gridA.failed() || gridB.failed()) return {};
                                                 return pair;
                                             });
                    while (rows.y < height) compared();  // a picture too large was not written
                }
                return !gridB.failed();
            });
            if (!readB) refusedB = readB.failure();
            return !gridA.failed();
        });
    if (!readA) return readA.failure();
    if (refusedB) return *refusedB;
    return difference;
}

}  // namespace

ExitStatus RunDiff(const std::string& aPath, const std::string& bPath, bool json,
                   const std::string& pngPath, int cellSize) {
    const Result<Difference> difference = comparePairs(aPath, bPath, pngPath, cellSize);
    if (!difference) {
        PrintFailure(difference.failure());
        return ExitStatus::NotAnswered;
    }
    const MapComparison& comparison = difference.value().comparison;
    print(comparison, json);
    ExitStatus status = comparison.same ? ExitStatus::Yes : ExitStatus::No;
    if (!pngPath.empty()) status = Worst(status, notWritten(difference.value().picture));
    return status;
}

ExitStatus RunConvert(const std::string& inPath, const std::string& outPath) {
    const Result<MapDocument> map = openPair(inPath);
    if (!map) return ExitStatus::No;
    return notWritten(WriteMapFilePairFiles(outPath, map.value()));
}
