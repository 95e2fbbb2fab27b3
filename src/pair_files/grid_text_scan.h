// The characters of a grid file as Windows text mode delivers them, the one
// definition of the grid file's text rules that the reader, `kalmia-cli
// check`, `merge` and `textconv` follow: LF, and CR LF, end a line (one character); a CR
// without an LF after it is a character of its own; the first 0x1A ends the
// file. The file is read in blocks of 64 KB, and each block is handed on in
// pieces, so that a reader can take whole runs of cell characters at once.
#pragma once

#include <cstdio>
#include <cstring>
#include <deque>
#include <string_view>
#include <vector>

// The size of a block; no block hands on more characters than this.
constexpr size_t GRID_TEXT_BLOCK_BYTES = 1 << 16;

class GridTextScan {
  public:
    explicit GridTextScan(FILE* file);
    // The same rules over a text already in memory, handed on in place.
    explicit GridTextScan(std::string_view text);

    // Reads the next block and hands it to `pieces` in the file's order:
    // `characters(begin, count)` for each run of characters other than CR
    // and LF, `lineEnd()` for each LF or CR LF, and `loneCr(cr)` for each CR
    // that no LF follows. False, with nothing handed on, once the file has
    // ended or cannot be read.
    template <typename Pieces>
    bool scanNextBlock(Pieces& pieces);

    bool failed() const { return readError; }

  private:
    // The next block, cut at 0x1A; false at the end of the file.
    bool readBlock();

    // Whether the byte after a CR at the end of a block is an LF, which it
    // then takes from the file.
    bool takeLineFeedAfterBlock();

    FILE* file = nullptr;
    std::string_view text;  // without a file: the text, and how much of it was handed on
    size_t textTaken = 0;
    std::vector<char> block;
    const char* blockData = nullptr;
    size_t size = 0;
    bool ended = false;
    bool readError = false;
};

template <typename Pieces>
bool GridTextScan::scanNextBlock(Pieces& pieces) {
    if (!readBlock()) return false;
    const char* const data = blockData;
    size_t at = 0;
    while (at < size) {
        const auto* lineFeed = static_cast<const char*>(std::memchr(data + at, '\n', size - at));
        const size_t lineEnd = lineFeed ? static_cast<size_t>(lineFeed - data) : size;
        while (at < lineEnd) {
            const auto* cr = static_cast<const char*>(std::memchr(data + at, '\r', lineEnd - at));
            const size_t runEnd = cr ? static_cast<size_t>(cr - data) : lineEnd;
            if (runEnd > at) pieces.characters(data + at, runEnd - at);
            at = runEnd;
            if (!cr) break;
            ++at;                                  // past the CR
            if (at == lineEnd && lineFeed) break;  // CR LF: the line end below
            if (at == size && !ended && takeLineFeedAfterBlock())
                pieces.lineEnd();
            else
                pieces.loneCr(data + at - 1);
        }
        if (lineFeed) {
            pieces.lineEnd();
            at = lineEnd + 1;
        }
    }
    return true;
}

// A line of a text in memory: where its characters are, and whether a line
// end follows them.
struct GridLine {
    size_t start = 0, length = 0;
    bool ended = false;
};

// The lines of a grid text in memory, one at a time, by the rules above;
// a line is a place in the text, so no line is copied, and at most one
// block's lines wait at once.
class GridLines {
  public:
    explicit GridLines(std::string_view text) : text(text), scan(text) {}
    GridLines(const GridLines&) = delete;
    GridLines& operator=(const GridLines&) = delete;

    // The next line; false after the last.
    bool next(GridLine& line);

    // What the scan hands on (GridTextScan::scanNextBlock).
    void characters(const char* begin, size_t count);
    void loneCr(const char* cr) { characters(cr, 1); }
    void lineEnd();

  private:
    std::string_view text;
    GridTextScan scan;
    std::deque<GridLine> ready;
    GridLine current;
    bool inLine = false;  // current has characters or a line end is due
};
