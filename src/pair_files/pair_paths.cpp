#include "pair_files/pair_paths.h"

#include "system/code_page.h"
#include "system/file_system.h"

namespace {

// The longest path Windows takes without the long-path prefix.
constexpr size_t LONGEST_PATH = 259;

// Where the file's name starts: past the last separator.
size_t nameStart(const std::string& path) {
    size_t start = 0;
    for (size_t at = 0; at < path.size(); ++at) {
        const char c = path[at];
        if (c == '\\' || c == '/' || c == ':')
            start = at + 1;
        else if (IsPathLeadByte(static_cast<unsigned char>(c)))
            ++at;  // its trail byte is never a separator
    }
    return start;
}

}  // namespace

std::string SidePath(const std::string& target, char letter, int attempt) {
    const std::string suffix = letter + (attempt > 1 ? std::to_string(attempt) : "");
    if (target.size() + 1 + suffix.size() <= LONGEST_PATH) return target + '~' + suffix;
    return target.substr(0, target.size() - 1 - suffix.size()) + '#' + suffix;
}

std::string PathBeside(const std::string& beside, const std::string& name) {
    return beside.substr(0, nameStart(beside)) + name;
}

std::string MakeXmlPath(const std::string& mapPath) {
    if (mapPath.size() < 3) return mapPath + "xml";
    return mapPath.substr(0, mapPath.size() - 3) + "xml";
}

std::string FileNameOf(const std::string& path) { return path.substr(nameStart(path)); }

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
