#include "pair_files/pair_formats.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "document/decimal_text.h"
#include "pair_files/grid_text_reader.h"
#include "system/content_hash.h"
#include "system/file_system.h"
#include "xml/xml_loading.h"

namespace {

using FilePtr = std::unique_ptr<FILE, int (*)(FILE*)>;

// The number elements of the parameter file and where each is kept.
constexpr std::pair<const char*, std::int32_t PairParameters::*> NUMBER_ELEMENTS[] = {
    {"x", &PairParameters::x},         {"y", &PairParameters::y},
    {"rank1", &PairParameters::rank1}, {"rank2", &PairParameters::rank2},
    {"rate1", &PairParameters::rate1}, {"rate2", &PairParameters::rate2},
};

Failure parameterFailure(FailureKind kind, TextPosition at, std::string detail) {
    return {kind, "", at.line, at.column, std::move(detail)};
}

// Walks the root's direct children; the last occurrence of a name wins.
// Fails when a number element is empty or holds no valid 32-bit number.
Result<PairParameters> readParameters(const XMLNodes& root) {
    PairParameters parameters;
    for (const XMLNodesPtr& child : root.getChildren()) {
        const std::string name = child->getName();
        const XMLNodesList values = child->getChildren();
        const auto element = std::find_if(std::begin(NUMBER_ELEMENTS), std::end(NUMBER_ELEMENTS),
                                          [&](const auto& entry) { return name == entry.first; });
        if (element != std::end(NUMBER_ELEMENTS)) {
            if (values.empty())
                return parameterFailure(FailureKind::NumberEmpty, child->position, name);
            const ParameterNumber number = ReadParameterNumber(values.front()->getText());
            if (number.problem != NumberProblem::None) {
                const auto kind = number.problem == NumberProblem::NoDigits
                                      ? FailureKind::NotANumber
                                      : FailureKind::NumberOutOfRange;
                return parameterFailure(kind, child->position, name);
            }
            parameters.*(element->second) = number.value;
        } else if (name == "name") {
            parameters.name = values.empty() ? "" : values.front()->getText();
        }
    }
    return parameters;
}

}  // namespace

Result<CellGrid> ReadGridFile(const std::string& path, int width, int height) {
    const Failure unreadable{FailureKind::FileUnreadable, path, 0, 0, ""};
    FilePtr file(OpenForReading(path), std::fclose);
    if (!file) return unreadable;
    GridTextReader reader(file.get());
    CellGrid grid;
    for (int y = 0; y < height; ++y) {
        grid.push_back(reader.readRow(static_cast<size_t>(std::max(width, 0))));
        reader.skipCharacter();
    }
    if (reader.failed()) return unreadable;
    return grid;
}

Result<PairParameters> ReadPairParameters(const std::string& xmlPath) {
    const Result<XMLNodesPtr> loaded = ReadXMLFile(xmlPath);
    if (!loaded) return loaded.failure();
    auto parameters = readParameters(*loaded.value());
    if (!parameters) return InFile(parameters.failure(), xmlPath);
    return parameters;
}

XMLNodesPtr BuildParameterTree(const MapDocument& document) {
    const auto [width, height] = document.gridSize();
    return BuildParameterTreeOf({width, height, document.rank1, document.rank2, document.rate1,
                                 document.rate2, document.copyMapName()});
}

XMLNodesPtr BuildParameterTreeOf(const PairParameters& parameters) {
    const std::pair<const char*, XMLNodesPtr> elements[] = {
        {"x", makeTextNode(FormatDecimal(parameters.x))},
        {"y", makeTextNode(FormatDecimal(parameters.y))},
        {"rank1", makeTextNode(FormatDecimal(parameters.rank1))},
        {"rank2", makeTextNode(FormatDecimal(parameters.rank2))},
        {"rate1", makeTextNode(FormatDecimal(parameters.rate1))},
        {"rate2", makeTextNode(FormatDecimal(parameters.rate2))},
        {"name", parameters.name.empty() ? makeBlankTextNode() : makeTextNode(parameters.name)},
    };
    XMLNodesPtr root = makeElementNode("root");
    XMLNodesList children;
    for (const auto& [elementName, text] : elements) {
        XMLNodesPtr element = makeElementNode(elementName);
        element->addChildren({text});
        children.push_back(element);
    }
    root->addChildren(children);
    return root;
}

// Composes the text in blocks of 64 KB. A row goes into a block a run at a
// time: copying a run out of the row's deque moves whole nodes at once, and
// the translation to characters is one simple loop over the block.
bool WriteGridFile(const std::string& path, const CellGrid& grid, ContentHasher* hasher) {
    FILE* file = OpenForWriting(path);
    return file && WriteGridText(file, grid, hasher);
}

bool WriteGridText(FILE* file, const CellGrid& grid, ContentHasher* hasher) {
    constexpr size_t BLOCK = 1 << 16;
    std::vector<std::uint8_t> block(BLOCK);
    size_t used = 0;
    bool written = true;
    auto flushBlock = [&] {
        written = written && std::fwrite(block.data(), 1, used, file) == used;
        if (hasher) hasher->add(block.data(), used);
        used = 0;
    };
    for (const CellRow& row : grid) {
        for (auto cell = row.begin(); cell != row.end();) {
            if (used == BLOCK) flushBlock();
            const auto run = std::min<std::ptrdiff_t>(BLOCK - used, row.end() - cell);
            std::uint8_t* text = block.data() + used;
            std::copy(cell, cell + run, text);
            for (std::ptrdiff_t i = 0; i < run; ++i) text[i] = text[i] ? '1' : '0';
            cell += run;
            used += run;
        }
        if (BLOCK - used < 2) flushBlock();
        block[used++] = '\r';
        block[used++] = '\n';
    }
    flushBlock();
    return FinishWriting(file, written);
}
