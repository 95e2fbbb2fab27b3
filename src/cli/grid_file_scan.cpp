#include "cli/grid_file_scan.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string_view>

namespace {

constexpr char END_OF_FILE_MARK = 0x1A;

// Collects warnings, at most MAX_WARNINGS_PER_KIND of each kind.
struct WarningList {
    const std::string& path;
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

// One line of the file, without its line end.
void checkLine(std::string_view line, long long number, long long width, WarningList& list) {
    if (!onlyZerosAndOnes(line.data(), line.data() + line.size())) {
        for (size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\r') {
                list.add(number, i + 1, "lone-cr", "a carriage return without a line feed");
                break;
            }
            if (line[i] != '0' && line[i] != '1') {
                list.add(number, i + 1, "other-character",
                         "a character other than 0 and 1 (read as a clear cell)");
                break;
            }
        }
    }
    const long long length = static_cast<long long>(line.size());
    if (length < width)
        list.add(number, 0, "short-line",
                 "the line has " + std::to_string(length) + " cells, the map is " +
                     std::to_string(width) + " wide (the rest is read from the next line)");
    else if (length > width)
        list.add(number, 0, "long-line",
                 "the line has " + std::to_string(length) + " cells, the map is " +
                     std::to_string(width) + " wide (the rest is read as the next row)");
}

}  // namespace

std::vector<PairMessage> ScanGridFile(const std::string& path, long long width, long long height) {
    WarningList list{path, {}, {}};
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return {};
    std::string line;
    long long lines = 0;
    std::vector<char> block(1 << 16);
    bool ended = false;
    size_t count;
    while (!ended && (count = std::fread(block.data(), 1, block.size(), file.get())) > 0) {
        const char* at = block.data();
        if (const void* mark = std::memchr(at, END_OF_FILE_MARK, count)) {
            ended = true;
            count = static_cast<const char*>(mark) - at;
        }
        const char* const end = at + count;
        while (at < end) {
            const char* newline = static_cast<const char*>(std::memchr(at, '\n', end - at));
            if (!newline) {
                line.append(at, end);
                break;
            }
            // A line within the block is checked where it lies; one that
            // began in the previous block is put together first.
            std::string_view whole(at, newline - at);
            if (!line.empty()) whole = line.append(at, newline);
            if (!whole.empty() && whole.back() == '\r') whole.remove_suffix(1);  // CR LF
            checkLine(whole, ++lines, width, list);
            line.clear();
            at = newline + 1;
        }
    }
    if (!line.empty()) checkLine(line, ++lines, width, list);
    if (lines != height)
        list.add(0, 0, lines < height ? "missing-lines" : "extra-lines",
                 "the file has " + std::to_string(lines) + " lines, the map is " +
                     std::to_string(height) + " high");
    list.addLeftOutCounts();
    return list.warnings;
}
