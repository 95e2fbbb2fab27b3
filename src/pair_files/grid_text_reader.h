// Reads a grid file's characters as Windows text mode delivers them
// (pair_files/grid_text_scan.h), a block at a time, already translated to
// cells: 1 for "1", 0 for every other character, a line end included.
#pragma once

#include <cstdio>
#include <functional>
#include <vector>

#include "document/map_document.h"
#include "pair_files/grid_text_scan.h"

// Whoever else follows the text as the reader reads it, piece by piece as
// GridTextScan hands it on (kalmia-cli check's warnings, in the same pass).
struct GridTextFollower {
    std::function<void(const char* begin, size_t count)> characters;
    std::function<void()> lineEnd;
    std::function<void(const char* cr)> loneCr;
};

class GridTextReader {
  public:
    explicit GridTextReader(FILE* file, const GridTextFollower* follower = nullptr);

    // The next `count` characters as a row of cells; past the end of the
    // file, clear cells.
    CellRow readRow(size_t count);

    // The same as `count` bytes of 0 and 1 where the block holds them whole,
    // else copied into `spill`; valid until the next read.
    const std::uint8_t* readRowCells(size_t count, std::vector<std::uint8_t>& spill);

    // A row as an Open reads it: `count` cells (as readRowCells gives them),
    // then the line end passed over; nullptr where the file could not be read.
    const std::uint8_t* readGridRow(size_t count, std::vector<std::uint8_t>& spill);

    // Reads the rest of the file for the follower.
    void readToTheEnd();

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
    void lineEnd();
    void loneCr(const char* cr);
    friend class GridTextScan;

    GridTextScan scan;
    const GridTextFollower* follower;
    std::vector<std::uint8_t> buffer;  // one block's characters as cells
    size_t at = 0;
    size_t filled = 0;
    bool translating = true;
};
