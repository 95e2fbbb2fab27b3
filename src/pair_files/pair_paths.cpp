#include "pair_files/pair_paths.h"

#include "system/file_output.h"

namespace {

// The longest path Windows takes without the long-path prefix.
constexpr size_t LONGEST_PATH = 259;

}  // namespace

std::string SidePath(const std::string& target, char letter, int attempt) {
    const std::string suffix = letter + (attempt > 1 ? std::to_string(attempt) : "");
    if (target.size() + 1 + suffix.size() <= LONGEST_PATH) return target + '~' + suffix;
    return target.substr(0, target.size() - 1 - suffix.size()) + '#' + suffix;
}

std::string PathBeside(const std::string& beside, const std::string& name) {
    const size_t separator = beside.find_last_of("/\\:");
    return separator == std::string::npos ? name : beside.substr(0, separator + 1) + name;
}

std::string MakeXmlPath(const std::string& mapPath) {
    if (mapPath.size() < 3) return mapPath + "xml";
    return mapPath.substr(0, mapPath.size() - 3) + "xml";
}

std::string FileNameOf(const std::string& path) {
    const size_t separator = path.find_last_of("/\\:");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

SaveFiles SaveFilesFor(const std::string& mapPath) {
    const std::string shownXml = MakeXmlPath(mapPath);
    const std::string grid = ResolvedPath(mapPath), xml = ResolvedPath(shownXml);
    return {grid,
            xml,
            mapPath,
            shownXml,
            SidePath(grid, 'g'),
            SidePath(xml, 'p'),
            SidePath(grid, 'h'),
            SidePath(xml, 'q'),
            SidePath(grid, 'j'),
            SidePath(grid, 'k'),
            SidePath(xml, 'l')};
}
