// kalmia-cli in git: `merge`, the merge driver (%O %A %B %P), and
// `textconv`, a diff-friendly text of one file of a pair.
#pragma once

#include <string>

// Writes the merge of BASE, CURRENT and OTHER into CURRENT: exit 0 clean,
// 1 with conflicts (printed on standard error), 2 when a version cannot be
// read or the result cannot be written.
int RunMerge(const std::string& base, const std::string& current, const std::string& other,
             const std::string& path);

// A grid file as lines of at most 64 cells, each after its line and first
// column ("17:129 0101..."); a parameter file as "field: value" lines in
// UTF-8. Exit 0, or 2 when the file cannot be read.
int RunTextconv(const std::string& file);
