// One input makes a parameter file and a grid file: the first byte says how
// much of the rest is the parameter file. A failed Open leaves the document
// exactly as it was; a successful one keeps the invariants, and the map then
// saved and opened again comes back the same.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include <algorithm>

#include "document/decimal_text.h"
#include "fuzz_support.h"
#include "pair_files/map_file_pair.h"
#include "xml/xml_loading.h"

namespace {

std::string folder() {
    static const std::string path = [] {
        char name[] = "/dev/shm/kalmia-fuzz-XXXXXX";
        const char* made = mkdtemp(name);
        return std::string(made ? made : "/tmp");
    }();
    return path;
}

void write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

struct RequestedSize {
    long long width = 0, height = 0;
};

// The size the parameter file asks for, as the reader takes it (the last x
// and y among the root's children); zeros when it cannot tell.
RequestedSize requestedSize(const std::string& xml) {
    const XMLNodesPtr root = LoadXMLBytes(xml);
    if (!root) return {};
    long long x = 0, y = 0;
    for (const XMLNodesPtr& child : root->getChildren()) {
        const XMLNodesList values = child->getChildren();
        if (values.empty()) continue;
        const ParameterNumber number = ReadParameterNumber(values.front()->getText());
        if (number.problem != NumberProblem::None) continue;
        if (child->getName() == "x") x = number.value;
        if (child->getName() == "y") y = number.value;
    }
    return {x, y};
}

// Sizes up to the limits are accepted (the unit tests cover them), but a grid
// of a hundred million cells, or tens of thousands of rows (each row is its
// own allocation), on every run would leave no time for anything else.
bool tooLargeToFuzz(const RequestedSize& size) {
    return size.height > 10'000 || std::max(size.width, 1LL) * size.height > 100'000;
}

MapDocument openMap() {
    MapDocument document;
    document.resizeGrid(7, 5);
    document.setCell(3, 2, 1);
    document.setMapName("open");
    document.applyThresholds(10, 30, 90, 70);
    return document;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t split = input.size() * data[0] / 255;
    if (tooLargeToFuzz(requestedSize(input.substr(0, split)))) return 0;
    const std::string mapPath = folder() + "/pair.map";
    write(folder() + "/pair.xml", input.substr(0, split));
    write(mapPath, input.substr(split));

    MapDocument document = openMap();
    if (!ReadMapFilePair(mapPath, document)) {
        FUZZ_CHECK(document == openMap());
        return 0;
    }
    FUZZ_CHECK(keepsInvariants(document));
    const auto [width, height] = document.gridSize();
    FUZZ_CHECK(height >= 1 && height <= MAX_GRID_ROWS);
    FUZZ_CHECK(static_cast<long long>(width) * height <= MAX_GRID_CELLS);

    const std::string savedPath = folder() + "/saved.map";
    FUZZ_CHECK(WriteMapFilePairFiles(savedPath, document).ok());
    MapDocument reread = document;
    FUZZ_CHECK(ReadMapFilePair(savedPath, reread));
    if (document.name.find_first_not_of(" \t\r\n") == std::string::npos) document.name = "";
    FUZZ_CHECK(reread == document);
    return 0;
}
