// The characters of a grid file as Windows text mode delivers them, the one
// definition of the grid file's text rules that both the reader and
// `kalmia-cli check` follow: LF, and CR LF, end a line (one character); a CR
// without an LF after it is a character of its own; the first 0x1A ends the
// file. The file is read in blocks of 64 KB, and each block is handed on in
// pieces, so that a reader can take whole runs of cell characters at once.
#pragma once

#include <cstdio>
#include <cstring>
#include <vector>

// The size of a block; no block hands on more characters than this.
constexpr size_t GRID_TEXT_BLOCK_BYTES = 1 << 16;

class GridTextScan {
  public:
    explicit GridTextScan(FILE* file);

    // Reads the next block and hands it to `pieces` in the file's order:
    // `characters(begin, count)` for each run of characters other than CR
    // and LF, `lineEnd()` for each LF or CR LF, and `loneCr()` for each CR
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

    FILE* file;
    std::vector<char> block;
    size_t size = 0;
    bool ended = false;
    bool readError = false;
};

template <typename Pieces>
bool GridTextScan::scanNextBlock(Pieces& pieces) {
    if (!readBlock()) return false;
    const char* const data = block.data();
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
                pieces.loneCr();
        }
        if (lineFeed) {
            pieces.lineEnd();
            at = lineEnd + 1;
        }
    }
    return true;
}
