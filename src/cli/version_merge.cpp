#include "cli/version_merge.h"

#include <algorithm>
#include <cctype>

namespace {

std::string lowercaseExtension(const std::string& path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find_first_of("/\\", dot) != std::string::npos) return "";
    std::string extension = path.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

std::vector<size_t> shapeOf(const GridText& text) {
    std::vector<size_t> shape;
    for (const std::string& line : text.lines) shape.push_back(line.size());
    return shape;
}

bool hasCell(const GridText& text, size_t line, size_t column) {
    return line < text.lines.size() && column < text.lines[line].size();
}

PairMessage conflictAt(const std::string& path, size_t line, size_t column, std::string message) {
    return {path, static_cast<int>(line + 1), static_cast<int>(column + 1), "conflict",
            std::move(message)};
}

// Both sides kept the base's shape: cell by cell.
void mergeCells(const GridText& base, const GridText& current, const GridText& other,
                GridMerge& merge, const std::string& path) {
    for (size_t line = 0; line < current.lines.size(); ++line)
        for (size_t column = 0; column < current.lines[line].size(); ++column) {
            const char mine = current.lines[line][column], theirs = other.lines[line][column];
            const bool inBase = hasCell(base, line, column);
            const char was = inBase ? base.lines[line][column] : 0;
            if (mine == theirs || (inBase && theirs == was)) continue;
            if (inBase && mine == was)
                merge.merged.lines[line][column] = theirs;
            else
                merge.conflicts.push_back(
                    conflictAt(path, line, column, "the cell was changed on both sides"));
        }
}

// One side changed the shape (its lines are in merge.merged), the other
// (`changer`) only cells: the changer's cells go into the new shape at their
// places. False when a changed cell has no place there.
bool applyCellChanges(const GridText& base, const GridText& changer, bool changerIsCurrent,
                      GridMerge& merge, const std::string& path) {
    bool allPlaced = true;
    for (size_t line = 0; line < base.lines.size(); ++line)
        for (size_t column = 0; column < base.lines[line].size(); ++column) {
            const char was = base.lines[line][column], changed = changer.lines[line][column];
            if (changed == was) continue;
            if (!hasCell(merge.merged, line, column)) {
                merge.conflicts.push_back(conflictAt(
                    path, line, column, "the cell was changed outside the other side's new shape"));
                allPlaced = false;
                continue;
            }
            char& cell = merge.merged.lines[line][column];
            if (cell == was || cell == changed) {
                cell = changed;
            } else {
                if (changerIsCurrent) cell = changed;
                merge.conflicts.push_back(
                    conflictAt(path, line, column, "the cell was changed on both sides"));
            }
        }
    return allPlaced;
}

struct NumberField {
    const char* name;
    std::int32_t PairParameters::*value;
};
constexpr NumberField NUMBER_FIELDS[] = {
    {"x", &PairParameters::x},         {"y", &PairParameters::y},
    {"rank1", &PairParameters::rank1}, {"rank2", &PairParameters::rank2},
    {"rate1", &PairParameters::rate1}, {"rate2", &PairParameters::rate2},
};

// Where the element starts in the file (its first line and column), for a
// message that names it; the start of the file where it is not found.
std::pair<size_t, size_t> elementPlace(const std::string& text, const std::string& name) {
    const size_t at = text.find("<" + name + ">");
    if (at == std::string::npos) return {0, 0};
    const size_t lineStart = text.rfind('\n', at);
    const size_t line =
        std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n');
    return {line, lineStart == std::string::npos ? at : at - lineStart - 1};
}

template <typename Value>
void mergeField(const char* name, const Value& base, const Value& current, const Value& other,
                Value& merged, const std::string& currentText, const std::string& path,
                std::vector<PairMessage>& conflicts) {
    merged = current;
    if (current == base)
        merged = other;
    else if (other != base && other != current) {
        const auto [line, column] = elementPlace(currentText, name);
        conflicts.push_back(
            conflictAt(path, line, column, std::string(name) + " was changed on both sides"));
    }
}

}  // namespace

PairFileKind KindOfPairFile(const std::string& named, const std::string& current,
                            const std::string& currentBytes) {
    for (const std::string* path : {&named, &current}) {
        const std::string extension = lowercaseExtension(*path);
        if (extension == ".map") return PairFileKind::Grid;
        if (extension == ".xml") return PairFileKind::Parameters;
    }
    size_t start = currentBytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    if (currentBytes.compare(0, 2, "\xFF\xFE") == 0 || currentBytes.compare(0, 2, "\xFE\xFF") == 0)
        return PairFileKind::Parameters;
    start = currentBytes.find_first_not_of(" \t\r\n", start);
    return start != std::string::npos && currentBytes[start] == '<' ? PairFileKind::Parameters
                                                                    : PairFileKind::Grid;
}

GridText SplitGridText(const std::string& bytes) {
    GridText text;
    text.lastLineEnded = bytes.empty() || bytes.back() == '\n';
    size_t start = 0;
    bool firstEnd = true;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            text.lines.push_back(bytes.substr(start));
            break;
        }
        const bool crlf = end > start && bytes[end - 1] == '\r';
        if (firstEnd) text.lineEnd = crlf ? "\r\n" : "\n";
        firstEnd = false;
        text.lines.push_back(bytes.substr(start, end - start - (crlf ? 1 : 0)));
        start = end + 1;
    }
    return text;
}

std::string JoinGridText(const GridText& text) {
    std::string bytes;
    for (size_t i = 0; i < text.lines.size(); ++i) {
        bytes += text.lines[i];
        if (i + 1 < text.lines.size() || text.lastLineEnded) bytes += text.lineEnd;
    }
    return bytes;
}

GridMerge MergeGrids(const GridText& base, const GridText& current, const GridText& other,
                     const std::string& path) {
    const auto baseShape = shapeOf(base), currentShape = shapeOf(current),
               otherShape = shapeOf(other);
    GridMerge merge{current, {}};
    if (currentShape == otherShape) {
        mergeCells(base, current, other, merge, path);
        return merge;
    }
    if (currentShape != baseShape && otherShape != baseShape) {
        merge.conflicts.push_back(
            conflictAt(path, 0, 0, "both sides changed the grid's shape differently"));
        return merge;
    }
    const bool currentReshaped = currentShape != baseShape;
    merge.merged = currentReshaped ? current : other;
    merge.merged.lineEnd = current.lineEnd;
    merge.merged.lastLineEnded = current.lastLineEnded;
    if (!applyCellChanges(base, currentReshaped ? other : current, !currentReshaped, merge, path))
        merge.merged = current;  // a change with no place in the new shape: the current side whole
    return merge;
}

ParameterMerge MergeParameters(const PairParameters& base, const PairParameters& current,
                               const PairParameters& other, const std::string& currentText,
                               const std::string& path) {
    ParameterMerge merge;
    for (const NumberField& field : NUMBER_FIELDS)
        mergeField(field.name, base.*field.value, current.*field.value, other.*field.value,
                   merge.merged.*field.value, currentText, path, merge.conflicts);
    mergeField("name", base.name, current.name, other.name, merge.merged.name, currentText, path,
               merge.conflicts);
    const PairParameters& m = merge.merged;
    const bool rankInOrder = isRank2InOrder(m.rank1, m.rank2);
    const bool thresholdsMerged = m.rank1 != current.rank1 || m.rank2 != current.rank2 ||
                                  m.rate1 != current.rate1 || m.rate2 != current.rate2;
    if ((!rankInOrder || !isRate2InOrder(m.rate1, m.rate2)) && thresholdsMerged) {
        const auto [line, column] = elementPlace(currentText, rankInOrder ? "rate2" : "rank2");
        merge.conflicts.push_back(
            conflictAt(path, line, column,
                       rankInOrder ? "the merged rate2 " + std::to_string(m.rate2) +
                                         " is above rate1 " + std::to_string(m.rate1)
                                   : "the merged rank2 " + std::to_string(m.rank2) +
                                         " is below rank1 " + std::to_string(m.rank1)));
        merge.merged.rank1 = current.rank1, merge.merged.rank2 = current.rank2;
        merge.merged.rate1 = current.rate1, merge.merged.rate2 = current.rate2;
    }
    return merge;
}
