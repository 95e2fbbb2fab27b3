// The map file pair: <base>.map holds the grid as lines of "0"/"1", <base>.xml
// the size, the four thresholds and the name. Reading a pair; its formats,
// names and saving are in the headers below.
#pragma once

#include <optional>
#include <string>

#include "document/load_failure.h"
#include "document/map_document.h"
#include "document/pair_formats.h"
#include "document/pair_paths.h"
#include "document/pair_recovery.h"
#include "document/pair_save.h"

// The outcome of reading a pair: nothing, or why it was refused; and the
// files that were read (beside an interrupted save, those that recovery
// would put in place).
struct [[nodiscard]] PairReadResult {
    std::optional<LoadFailure> failure;
    PairSources sources;
    bool ok() const { return !failure; }
    explicit operator bool() const { return ok(); }
};

// Reads the pair into `document`, all or nothing: on any failure (the
// parameter file unreadable or not well-formed, a number missing or out of
// range, no rows, a size beyond the limits, the grid file unreadable) it
// returns the reason and leaves `document` exactly as it was. It changes no
// file. Beside an interrupted save it reads exactly the old pair or exactly
// the new one, as recovery would leave it (see document/pair_recovery.h).
PairReadResult ReadMapFilePair(const std::string& mapPath, MapDocument& document);
