// Three versions of one file of a map pair merged, for git's merge driver:
// a grid file by rows and cells by position, a parameter file by its fields.
// Where both sides changed one part differently, the result keeps the
// current side's value and the part is named as a conflict.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/pair_messages.h"
#include "document/pair_formats.h"

enum class PairFileKind { Grid, Parameters };

// The kind of a file of a pair: by the extension of `named` (.map or .xml,
// any case), else by that of `current`, else by its first bytes (XML starts
// with "<" after any blanks or a byte-order mark).
PairFileKind KindOfPairFile(const std::string& named, const std::string& current,
                            const std::string& currentBytes);

// A grid file as the lines of a text-mode reader: LF ends a line, a CR
// before it belongs to the line end. The line end of the first line is the
// file's, and kept when the file is written again.
struct GridText {
    std::vector<std::string> lines;
    std::string lineEnd = "\r\n";
    bool lastLineEnded = true;
};
GridText SplitGridText(const std::string& bytes);
std::string JoinGridText(const GridText& text);

struct GridMerge {
    GridText merged;
    std::vector<PairMessage> conflicts;  // line and column of the conflicting cell
};

// Cells that one side changed take that side's value. A side that changed
// the shape (the line count or a line's length) against one that changed
// only cells gives the new shape with those cells changed in it; a change
// outside the new shape, or two different new shapes, is a conflict, and the
// result is then the current side whole.
GridMerge MergeGrids(const GridText& base, const GridText& current, const GridText& other,
                     const std::string& path);

struct ParameterMerge {
    PairParameters merged;
    std::vector<PairMessage> conflicts;
};

// Field by field; a result whose thresholds break the ordering rule (rank2
// below rank1, rate2 above rate1) where the current side's did not is a
// conflict too. `currentText` places each conflict at its element.
ParameterMerge MergeParameters(const PairParameters& base, const PairParameters& current,
                               const PairParameters& other, const std::string& currentText,
                               const std::string& path);
