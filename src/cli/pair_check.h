// `kalmia-cli check` of one pair: whether the editor's Open takes it, and
// what it would take without complaint although it is almost surely a mistake.
#pragma once

#include <string>
#include <vector>

#include "cli/pair_messages.h"
#include "document/map_document.h"

struct PairCheck {
    std::string path;
    std::vector<PairMessage> errors;
    std::vector<PairMessage> warnings;
};

// `read`, if given, receives the map as the editor opens it (when it does).
PairCheck CheckPair(const std::string& mapPath, MapDocument* read = nullptr);

// Whether the pair passes: the editor opens it, and under --strict nothing
// was found to warn about.
bool Passes(const PairCheck& check, bool strict);
