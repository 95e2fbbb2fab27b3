// `kalmia-cli check` of one pair: whether the editor's Open takes it, and
// what it would take without complaint although it is almost surely a mistake.
#pragma once

#include <string>
#include <vector>

#include <functional>
#include "cli/pair_messages.h"

#include "cli/map_pictures.h"
#include "document/map_document.h"
#include "document/map_parameters.h"

struct PairCheck {
    std::string path;
    std::vector<PairMessage> errors;
    std::vector<PairMessage> warnings;
};

// What wants the map's rows while check reads them: the parameters as the
// editor holds them after an Open, and the rows in order from the top (each
// call the next, nullptr where it could not be read). It may run more than
// once, starting afresh, when a save changed the pair meanwhile.
using PairRowsVisitor =
    std::function<void(const MapParameters& opened, const CellRowSource& nextRow)>;

// One pass over the grid file: `visit`, if given, is handed the rows as they
// are read, and the warnings follow the file's lines to its end.
PairCheck CheckPair(const std::string& mapPath, const PairRowsVisitor& visit = {});

// Whether the pair passes: the editor opens it, and under --strict nothing
// was found to warn about.
bool Passes(const PairCheck& check, bool strict);
