// Warnings about a grid file that the editor reads without complaint: the
// file is read by the same text-mode rules (CR LF and LF end a line, a lone
// CR is a character, Ctrl-Z ends the file) and compared with the size that
// the parameter file gives.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/pair_messages.h"
#include "pair_files/grid_text_reader.h"

// At most this many warnings of one kind are listed; one more line says how
// many were left out.
constexpr int MAX_WARNINGS_PER_KIND = 10;

// The warnings of a grid file, gathered while a GridTextReader reads it
// with this follower, to its end.
class GridLineWarnings {
  public:
    GridLineWarnings(const std::string& path, long long width);
    ~GridLineWarnings();
    GridLineWarnings(const GridLineWarnings&) = delete;
    GridLineWarnings& operator=(const GridLineWarnings&) = delete;

    const GridTextFollower& follower() const { return pieces; }

    // Once the file was read to its end: the warnings, the line count
    // compared with `height`.
    std::vector<PairMessage> finish(long long height);

  private:
    struct Lines;
    std::unique_ptr<Lines> lines;
    GridTextFollower pieces;
};
