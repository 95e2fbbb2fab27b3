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

Failure parameterFailure(FailureKind kind, TextPosition at, std::string detail) {
    return {kind, "", at.line, at.column, std::move(detail)};
}

// Walks the root's direct children; the last occurrence of a name wins.
// Fails when a number element is empty or holds no valid 32-bit number.
Result<MapParameters> readParameters(const XMLNodes& root) {
    MapParameters parameters;
    for (const XMLNodesPtr& child : root.getChildren()) {
        const std::string name = child->getName();
        const XMLNodesList values = child->getChildren();
        const auto field =
            std::find_if(std::begin(NUMBER_FIELDS), std::end(NUMBER_FIELDS),
                         [&](const NumberField& entry) { return name == entry.element; });
        if (field != std::end(NUMBER_FIELDS)) {
            if (values.empty())
                return parameterFailure(FailureKind::NumberEmpty, child->position, name);
            const ParameterNumber number = ReadParameterNumber(values.front()->getText());
            if (number.problem != NumberProblem::None) {
                const auto kind = number.problem == NumberProblem::NoDigits
                                      ? FailureKind::NotANumber
                                      : FailureKind::NumberOutOfRange;
                return parameterFailure(kind, child->position, name);
            }
            parameters.*(field->value) = number.value;
        } else if (name == NAME_ELEMENT) {
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

Result<MapParameters> ReadPairParameters(const std::string& xmlPath) {
    const Result<XMLNodesPtr> loaded = ReadXMLFile(xmlPath);
    if (!loaded) return loaded.failure();
    auto parameters = readParameters(*loaded.value());
    if (!parameters) return InFile(parameters.failure(), xmlPath);
    return parameters;
}

XMLNodesPtr BuildParameterTree(const MapDocument& document) {
    return BuildParameterTreeOf(ParametersOf(document));
}

XMLNodesPtr BuildParameterTreeOf(const MapParameters& parameters) {
    std::vector<std::pair<const char*, XMLNodesPtr>> elements;
    for (const NumberField& field : NUMBER_FIELDS)
        elements.emplace_back(field.element, makeTextNode(FormatDecimal(parameters.*field.value)));
    elements.emplace_back(NAME_ELEMENT, parameters.name.empty() ? makeBlankTextNode()
                                                                : makeTextNode(parameters.name));
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
    return file && WriteGridText(file, path, grid, hasher).ok();
}

Result<void> WriteGridText(FILE* file, const std::string& path, const CellGrid& grid,
                           ContentHasher* hasher) {
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
    return FinishWriting(file, written, path);
}
