// The map file pair: <base>.map holds the grid as lines of "0"/"1", <base>.xml
// the size, the four thresholds and the name. Reading a pair; its formats,
// names and saving are in the headers below.
#pragma once

#include <string>

#include "document/map_document.h"
#include "pair_files/pair_formats.h"
#include "pair_files/pair_paths.h"
#include "pair_files/pair_recovery.h"
#include "pair_files/pair_save.h"

// Reads the pair into `document`, all or nothing: on any failure (the
// parameter file unreadable or not well-formed, a number missing or out of
// range, no rows, a size beyond the limits, the grid file unreadable) it
// returns the reason and leaves `document` exactly as it was. On success it
// returns the files that were read: beside an interrupted save, those that
// recovery would put in place. It changes no file. Beside an interrupted save it reads exactly the
// old pair or exactly the new one, as recovery would leave it (see pair_files/pair_recovery.h).
Result<PairSources> ReadMapFilePair(const std::string& mapPath, MapDocument& document);
