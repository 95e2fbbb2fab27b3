#include "cli/cli_commands.h"

#include "cli/json_printer.h"
#include "cli/map_comparison.h"
#include "cli/map_pictures.h"
#include "cli/map_summary.h"
#include "cli/pair_check.h"
#include "cli/text_printer.h"
#include "pair_files/map_file_pair.h"

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
    const Result<MapDocument> map = openPair(mapPath);
    if (!map) return ExitStatus::No;
    print(SummarizeMap(map.value()), json);
    return ExitStatus::Yes;
}

ExitStatus RunRender(const std::string& mapPath, const std::string& pngPath, int cellSize) {
    const Result<MapDocument> map = openPair(mapPath);
    if (!map) return ExitStatus::No;
    return notWritten(RenderMapPng(map.value(), cellSize, pngPath));
}

ExitStatus RunDiff(const std::string& aPath, const std::string& bPath, bool json,
                   const std::string& pngPath, int cellSize) {
    const Result<MapDocument> a = openPair(aPath);
    if (!a) return ExitStatus::NotAnswered;
    const Result<MapDocument> b = openPair(bPath);
    if (!b) return ExitStatus::NotAnswered;
    const MapComparison comparison = CompareMaps(a.value(), b.value());
    print(comparison, json);
    ExitStatus status = comparison.same ? ExitStatus::Yes : ExitStatus::No;
    if (!pngPath.empty())
        status =
            Worst(status, notWritten(RenderDifferencePng(a.value(), b.value(), cellSize, pngPath)));
    return status;
}

ExitStatus RunConvert(const std::string& inPath, const std::string& outPath) {
    const Result<MapDocument> map = openPair(inPath);
    if (!map) return ExitStatus::No;
    return notWritten(WriteMapFilePairFiles(outPath, map.value()));
}
