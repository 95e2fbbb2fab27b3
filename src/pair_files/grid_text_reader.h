// Reads a grid file's characters as Windows text mode delivers them
// (pair_files/grid_text_scan.h), a block at a time, already translated to
// cells: 1 for "1", 0 for every other character, a line end included.
#pragma once

#include <cstdio>
#include <vector>

#include "document/map_document.h"
#include "pair_files/grid_text_scan.h"

class GridTextReader {
  public:
    explicit GridTextReader(FILE* file);

    // The next `count` characters as a row of cells; past the end of the
    // file, clear cells.
    CellRow readRow(size_t count);

    // Passes over the next character (a row's line end).
    void skipCharacter();

    bool failed() const { return scan.failed(); }

  private:
    // Appends the next `count` characters to `row` as cells; past the end of
    // the file, clear cells.
    void appendCells(CellRow& row, size_t count);

    // Reads and translates the next block; false at the end of the file.
    bool refill();

    // What the scan hands on, as cells.
    void characters(const char* begin, size_t count);
    void lineEnd() { buffer[filled++] = 0; }
    void loneCr(const char*) { buffer[filled++] = 0; }
    friend class GridTextScan;

    GridTextScan scan;
    std::vector<std::uint8_t> buffer;  // one block's characters as cells
    size_t at = 0;
    size_t filled = 0;
};
