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

PairMessage conflictAt(const std::string& path, size_t line, size_t column, std::string message) {
    return {path, static_cast<int>(line + 1), static_cast<int>(column + 1), "conflict",
            std::move(message)};
}

bool sameShape(const std::string& a, const std::string& b) {
    GridLines linesA(a), linesB(b);
    GridLine lineA, lineB;
    for (;;) {
        const bool moreA = linesA.next(lineA), moreB = linesB.next(lineB);
        if (moreA != moreB) return false;
        if (!moreA) return true;
        if (lineA.length != lineB.length || lineA.ended != lineB.ended) return false;
    }
}

// The three texts line by line together; a side with fewer lines gives
// empty lines (no cells) past its end.
struct LinesTogether {
    GridLines lines[3];
    GridLine current[3];
    bool next() {
        bool any = false;
        for (int i = 0; i < 3; ++i) {
            const bool more = lines[i].next(current[i]);
            if (!more) current[i] = {};
            any = any || more;
        }
        return any;
    }
};

// Both sides kept one shape: cell by cell, into the current side's text.
void mergeCells(const std::string& base, const std::string& current, const std::string& other,
                GridMerge& merge, const std::string& path) {
    LinesTogether together{{GridLines(base), GridLines(current), GridLines(other)}, {}};
    for (size_t line = 0; together.next(); ++line) {
        const GridLine &was = together.current[0], &mine = together.current[1],
                       &theirs = together.current[2];
        if (current.compare(mine.start, mine.length, other, theirs.start, theirs.length) == 0)
            continue;
        for (size_t column = 0; column < mine.length; ++column) {
            const char m = current[mine.start + column], t = other[theirs.start + column];
            const bool inBase = column < was.length;
            const char b = inBase ? base[was.start + column] : 0;
            if (m == t || (inBase && t == b)) continue;
            if (inBase && m == b)
                merge.merged[mine.start + column] = t;
            else
                merge.conflicts.add(
                    conflictAt(path, line, column, "the cell was changed on both sides"));
        }
    }
}

// One side changed the shape (its text is merge.merged), the other
// (`changer`, of the base's shape) only cells: the changer's cells go into
// the new shape at their places. False when a changed cell has no place
// there.
bool applyCellChanges(const std::string& base, const std::string& changer,
                      const std::string& reshaped, bool changerIsCurrent, GridMerge& merge,
                      const std::string& path) {
    bool allPlaced = true;
    LinesTogether together{{GridLines(base), GridLines(changer), GridLines(reshaped)}, {}};
    for (size_t line = 0; together.next(); ++line) {
        const GridLine &was = together.current[0], &changed = together.current[1],
                       &into = together.current[2];
        if (base.compare(was.start, was.length, changer, changed.start, changed.length) == 0)
            continue;
        for (size_t column = 0; column < was.length; ++column) {
            const char b = base[was.start + column], c = changer[changed.start + column];
            if (c == b) continue;
            if (column >= into.length) {
                merge.conflicts.add(conflictAt(
                    path, line, column, "the cell was changed outside the other side's new shape"));
                allPlaced = false;
                continue;
            }
            char& cell = merge.merged[into.start + column];
            if (cell == b || cell == c) {
                cell = c;
            } else {
                if (changerIsCurrent) cell = c;
                merge.conflicts.add(
                    conflictAt(path, line, column, "the cell was changed on both sides"));
            }
        }
    }
    return allPlaced;
}

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
                Conflicts& conflicts) {
    merged = current;
    if (current == base)
        merged = other;
    else if (other != base && other != current) {
        const auto [line, column] = elementPlace(currentText, name);
        conflicts.add(
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

void Conflicts::add(PairMessage message) {
    if (first.size() < KEPT) first.push_back(std::move(message));
    ++count;
}

GridMerge MergeGrids(const std::string& base, const std::string& current, const std::string& other,
                     const std::string& path) {
    GridMerge merge{current, {}};
    if (sameShape(current, other)) {
        mergeCells(base, current, other, merge, path);
        return merge;
    }
    const bool currentReshaped = !sameShape(current, base);
    if (currentReshaped && !sameShape(other, base)) {
        merge.conflicts.add(
            conflictAt(path, 0, 0, "both sides changed the grid's shape differently"));
        return merge;
    }
    const std::string& reshaped = currentReshaped ? current : other;
    merge.merged = reshaped;
    if (!applyCellChanges(base, currentReshaped ? other : current, reshaped, !currentReshaped,
                          merge, path))
        merge.merged = current;  // a change with no place in the new shape: the current side whole
    return merge;
}

ParameterMerge MergeParameters(const MapParameters& base, const MapParameters& current,
                               const MapParameters& other, const std::string& currentText,
                               const std::string& path) {
    ParameterMerge merge;
    for (const NumberField& field : NUMBER_FIELDS)
        mergeField(field.element, base.*field.value, current.*field.value, other.*field.value,
                   merge.merged.*field.value, currentText, path, merge.conflicts);
    mergeField(NAME_ELEMENT, base.name, current.name, other.name, merge.merged.name, currentText,
               path, merge.conflicts);
    const MapParameters& m = merge.merged;
    const bool rankInOrder = isRank2InOrder(m.rank1, m.rank2);
    const bool thresholdsMerged = m.rank1 != current.rank1 || m.rank2 != current.rank2 ||
                                  m.rate1 != current.rate1 || m.rate2 != current.rate2;
    if ((!rankInOrder || !isRate2InOrder(m.rate1, m.rate2)) && thresholdsMerged) {
        const auto [line, column] = elementPlace(currentText, rankInOrder ? "rate2" : "rank2");
        merge.conflicts.add(conflictAt(path, line, column,
                                       rankInOrder
                                           ? "the merged rate2 " + std::to_string(m.rate2) +
                                                 " is above rate1 " + std::to_string(m.rate1)
                                           : "the merged rank2 " + std::to_string(m.rank2) +
                                                 " is below rank1 " + std::to_string(m.rank1)));
        merge.merged.rank1 = current.rank1, merge.merged.rank2 = current.rank2;
        merge.merged.rate1 = current.rate1, merge.merged.rate2 = current.rate2;
    }
    return merge;
}
