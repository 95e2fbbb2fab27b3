// Three versions of one file of a map pair merged, for git's merge driver:
// a grid file by rows and cells by position, a parameter file by its fields.
// Where both sides changed one part differently, the result keeps the
// current side's value and the part is named as a conflict.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/pair_messages.h"
#include "pair_files/grid_text_scan.h"
#include "pair_files/pair_formats.h"

enum class PairFileKind { Grid, Parameters };

// The kind of a file of a pair: by the extension of `named` (.map or .xml,
// any case), else by that of `current`, else by its first bytes (XML starts
// with "<" after any blanks or a byte-order mark).
PairFileKind KindOfPairFile(const std::string& named, const std::string& current,
                            const std::string& currentBytes);

// The first conflicts, to be printed, and how many there were in all, so
// that a merge with millions of them holds no more than these.
struct Conflicts {
    static constexpr size_t KEPT = 100;
    std::vector<PairMessage> first;
    size_t count = 0;
    void add(PairMessage message);
};

struct GridMerge {
    std::string merged;   // the text of the result
    Conflicts conflicts;  // line and column of the conflicting cell
};

// Cells that one side changed take that side's value. A side that changed
// the shape (the line count, a line's length or whether the last line ends)
// against one that changed only cells gives the new shape with those cells
// changed in it; a change outside the new shape, or two different new
// shapes, is a conflict, and the result is then the current side whole. The
// result is the text of the current side, or of the side whose shape it
// takes, with the merged cells changed in place, so its line ends are that
// side's.
GridMerge MergeGrids(const std::string& base, const std::string& current, const std::string& other,
                     const std::string& path);

struct ParameterMerge {
    MapParameters merged;
    Conflicts conflicts;
};

// Field by field; a result whose thresholds break the ordering rule (rank2
// below rank1, rate2 above rate1) where the current side's did not is a
// conflict too. `currentText` places each conflict at its element.
ParameterMerge MergeParameters(const MapParameters& base, const MapParameters& current,
                               const MapParameters& other, const std::string& currentText,
                               const std::string& path);
