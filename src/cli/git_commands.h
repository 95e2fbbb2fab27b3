// kalmia-cli in git: `merge`, the merge driver (%O %A %B %P), and
// `textconv`, a diff-friendly text of one file of a pair.
#pragma once

#include <string>

#include "cli/exit_status.h"

// Writes the merge of BASE, CURRENT and OTHER into CURRENT: Yes when clean,
// No with conflicts (printed on standard error), NotAnswered when a version
// cannot be read or the result cannot be written.
ExitStatus RunMerge(const std::string& base, const std::string& current, const std::string& other,
                    const std::string& path);

// A grid file as lines of at most 64 cells, each after its line and first
// column ("17:129 0101..."); a parameter file as "field: value" lines in
// UTF-8. NotAnswered when the file cannot be read.
ExitStatus RunTextconv(const std::string& file);
