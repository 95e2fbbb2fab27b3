// Reads a grid file's characters in large blocks, as Windows text mode
// delivers them (CR LF becomes one character, a lone LF or a lone CR is one
// character, 0x1A ends the file), already translated to cells: 1 for "1",
// 0 for every other character.
#pragma once

#include <cstdio>
#include <vector>

#include "document/map_document.h"

class GridTextReader {
  public:
    explicit GridTextReader(FILE* file);

    // The next `count` characters as a row of cells; past the end of the
    // file, clear cells.
    CellRow readRow(size_t count);

    // Passes over the next character (a row's line end).
    void skipCharacter();

    bool failed() const { return readError; }

  private:
    // Appends the next `count` characters to `row` as cells; past the end of
    // the file, clear cells.
    void appendCells(CellRow& row, size_t count);

    // Reads and translates the next block; false at the end of the file.
    bool refill();
    void translateBlock(size_t rawSize);

    FILE* file;
    std::vector<std::uint8_t> raw;     // one block of the file
    std::vector<std::uint8_t> buffer;  // its characters as cells
    size_t at = 0;
    size_t filled = 0;
    bool ended = false;
    bool readError = false;
};
