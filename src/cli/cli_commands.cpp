#include "cli/cli_commands.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/console_text.h"
#include "cli/map_comparison.h"
#include "cli/map_pictures.h"
#include "cli/pair_check.h"
#include "document/map_file_pair.h"

using nlohmann::ordered_json;

namespace {

ordered_json messageJson(const PairMessage& message) {
    return {{"path", message.path},
            {"line", message.line},
            {"column", message.column},
            {"kind", message.kind},
            {"message", message.message}};
}

ordered_json messagesJson(const std::vector<PairMessage>& messages) {
    ordered_json list = ordered_json::array();
    for (const PairMessage& message : messages) list.push_back(messageJson(message));
    return list;
}

// Opens a pair as the editor does right after it starts; on refusal, says
// why on standard error.
bool openPair(const std::string& mapPath, MapDocument& map) {
    map = MapDocument();
    const PairReadResult read = ReadMapFilePair(mapPath, map);
    if (read) return true;
    std::cerr << formatPairMessage(RefusalMessage(mapPath, *read.failure), "error") << "\n";
    return false;
}

long long setCells(const MapDocument& map) {
    long long count = 0;
    for (const CellRow& row : map.cells)
        for (std::uint8_t cell : row) count += cell != 0;
    return count;
}

}  // namespace

int RunCheck(const std::vector<std::string>& mapPaths, bool json, bool strict) {
    bool allPassed = true;
    for (const std::string& path : mapPaths) {
        const PairCheck check = CheckPair(path);
        const bool passed = check.errors.empty() && (!strict || check.warnings.empty());
        allPassed = allPassed && passed;
        for (const PairMessage& error : check.errors)
            std::cerr << formatPairMessage(error, "error") << "\n";
        for (const PairMessage& warning : check.warnings)
            std::cerr << formatPairMessage(warning, "warning") << "\n";
        if (json)
            std::cout << ordered_json{{"path", path},
                                      {"ok", passed},
                                      {"errors", messagesJson(check.errors)},
                                      {"warnings", messagesJson(check.warnings)}}
                             .dump()
                      << "\n";
    }
    return allPassed ? 0 : 1;
}

int RunInfo(const std::string& mapPath, bool json) {
    MapDocument map;
    if (!openPair(mapPath, map)) return 1;
    const auto [width, height] = map.gridSize();
    if (json) {
        std::cout << ordered_json{{"name", Utf8FromAnsi(map.copyMapName())},
                                  {"width", width},
                                  {"height", height},
                                  {"rank1", map.rank1},
                                  {"rank2", map.rank2},
                                  {"rate1", map.rate1},
                                  {"rate2", map.rate2},
                                  {"set_cells", setCells(map)}}
                         .dump()
                  << "\n";
        return 0;
    }
    std::cout << "name: " << ForTerminal(map.copyMapName()) << "\nwidth: " << width
              << "\nheight: " << height << "\nrank1: " << map.rank1 << "\nrank2: " << map.rank2
              << "\nrate1: " << map.rate1 << "\nrate2: " << map.rate2
              << "\nset_cells: " << setCells(map) << "\n";
    return 0;
}

int RunRender(const std::string& mapPath, const std::string& pngPath, int cellSize) {
    MapDocument map;
    if (!openPair(mapPath, map)) return 1;
    if (const auto failure = RenderMapPng(map, cellSize, pngPath)) {
        std::cerr << pngPath << ": error: " << *failure << "\n";
        return 2;
    }
    return 0;
}

int RunDiff(const std::string& aPath, const std::string& bPath, bool json,
            const std::string& pngPath, int cellSize) {
    MapDocument a, b;
    if (!openPair(aPath, a) || !openPair(bPath, b)) return 2;
    const MapComparison comparison = CompareMaps(a, b);
    if (json)
        std::cout << ComparisonJson(comparison, Utf8FromAnsi).dump() << "\n";
    else
        PrintComparison(comparison, ForTerminal, std::cout);
    if (!pngPath.empty()) {
        if (const auto failure = RenderDifferencePng(a, b, cellSize, pngPath)) {
            std::cerr << pngPath << ": error: " << *failure << "\n";
            return 2;
        }
    }
    return comparison.same ? 0 : 1;
}

int RunConvert(const std::string& inPath, const std::string& outPath) {
    MapDocument map;
    if (!openPair(inPath, map)) return 1;
    errno = 0;
    const SaveOutcome outcome = WriteMapFilePairFiles(outPath, map);
    if (outcome == SaveOutcome::Saved) return 0;
    const std::string reason = outcome == SaveOutcome::Busy
                                   ? "another program is saving this pair; try again later"
                               : errno ? std::strerror(errno)
                                       : "";
    std::cerr << outPath << ": error: cannot write the pair " << outPath << " and "
              << MakeXmlPath(outPath) << (reason.empty() ? "" : ": " + reason) << "\n";
    return 2;
}
