#include "document/pair_paths.h"

namespace {

// The longest path Windows takes without the long-path prefix.
constexpr size_t LONGEST_PATH = 259;

std::string sidePath(const std::string& target, char letter) {
    if (target.size() + 2 <= LONGEST_PATH) return target + '~' + letter;
    return target.substr(0, target.size() - 2) + '#' + letter;
}

}  // namespace

std::string MakeXmlPath(const std::string& mapPath) {
    if (mapPath.size() < 3) return mapPath + "xml";
    return mapPath.substr(0, mapPath.size() - 3) + "xml";
}

std::string FileNameOf(const std::string& path) {
    const size_t separator = path.find_last_of("/\\:");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

SaveFiles SaveFilesFor(const std::string& mapPath) {
    const std::string xmlPath = MakeXmlPath(mapPath);
    return {mapPath,
            xmlPath,
            sidePath(mapPath, 'g'),
            sidePath(xmlPath, 'p'),
            sidePath(mapPath, 'h'),
            sidePath(xmlPath, 'q'),
            sidePath(mapPath, 'j'),
            sidePath(mapPath, 'k'),
            sidePath(xmlPath, 'l')};
}
