#include "cli/grid_file_scan.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#include "pair_files/grid_text_scan.h"
#include "system/file_system.h"

namespace {

// Collects warnings, at most MAX_WARNINGS_PER_KIND of each kind.
struct WarningList {
    std::string path;
    std::vector<PairMessage> warnings;
    std::map<std::string, long long> counts;

    void add(long long line, long long column, const char* kind, const std::string& text) {
        if (++counts[kind] <= MAX_WARNINGS_PER_KIND)
            warnings.push_back(
                {path, static_cast<int>(line), static_cast<int>(column), kind, text});
    }
    void addLeftOutCounts() {
        for (const auto& [kind, count] : counts)
            if (count > MAX_WARNINGS_PER_KIND)
                warnings.push_back(
                    {path, 0, 0, kind,
                     std::to_string(count - MAX_WARNINGS_PER_KIND) + " more warnings like this"});
    }
};

// True when every byte of [begin, end) is '0' or '1', eight at a time: the
// two characters differ only in the lowest bit.
bool onlyZerosAndOnes(const char* begin, const char* end) {
    constexpr std::uint64_t MASK = 0xFEFEFEFEFEFEFEFEull, DIGITS = 0x3030303030303030ull;
    for (; end - begin >= 8; begin += 8) {
        std::uint64_t word;
        std::memcpy(&word, begin, 8);
        if ((word & MASK) != DIGITS) return false;
    }
    for (; begin < end; ++begin)
        if ((*begin & 0xFE) != 0x30) return false;
    return true;
}

}  // namespace

// Follows the lines of the file as the reader hands them on, without keeping
// them: a line's length and its first character that is not a cell digit.
struct GridLineWarnings::Lines {
    long long width;
    WarningList list;
    long long lines = 0;
    long long length = 0;  // of the current line so far
    // The line's first odd character, listed with the line before its
    // length; no kind while there is none.
    const char* oddKind = nullptr;
    const char* oddText = "";
    long long oddColumn = 0;
    void characters(const char* begin, size_t count) {
        if (!oddKind && !onlyZerosAndOnes(begin, begin + count)) {
            const char* other = begin;
            while (*other == '0' || *other == '1') ++other;
            report(length + (other - begin) + 1, "other-character",
                   "a character other than 0 and 1 (read as a clear cell)");
        }
        length += static_cast<long long>(count);
    }
    void loneCr(const char*) {
        if (!oddKind) report(length + 1, "lone-cr", "a carriage return without a line feed");
        ++length;
    }
    void lineEnd() {
        ++lines;
        if (oddKind) list.add(lines, oddColumn, oddKind, oddText);
        if (length != width)
            list.add(lines, 0, length < width ? "short-line" : "long-line",
                     "the line has " + std::to_string(length) + " cells, the map is " +
                         std::to_string(width) + " wide (the rest is read " +
                         (length < width ? "from the next line)" : "as the next row)"));
        length = 0;
        oddKind = nullptr;
    }
    // The file's last line, if it has no line end.
    void endOfFile() {
        if (length > 0) lineEnd();
    }
    void report(long long column, const char* kind, const char* text) {
        oddColumn = column;
        oddKind = kind;
        oddText = text;
    }
};

GridLineWarnings::GridLineWarnings(const std::string& path, long long width)
    : lines(new Lines{width, {path, {}, {}}}) {
    pieces.characters = [this](const char* begin, size_t count) {
        lines->characters(begin, count);
    };
    pieces.lineEnd = [this] { lines->lineEnd(); };
    pieces.loneCr = [this](const char* cr) { lines->loneCr(cr); };
}

GridLineWarnings::~GridLineWarnings() = default;

std::vector<PairMessage> GridLineWarnings::finish(long long height) {
    lines->endOfFile();
    WarningList& list = lines->list;
    if (lines->lines != height)
        list.add(0, 0, lines->lines < height ? "missing-lines" : "extra-lines",
                 "the file has " + std::to_string(lines->lines) + " lines, the map is " +
                     std::to_string(height) + " high");
    list.addLeftOutCounts();
    return list.warnings;
}
