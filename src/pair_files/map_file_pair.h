// The map file pair: <base>.map holds the grid as lines of "0"/"1", <base>.xml
// the size, the four thresholds and the name. Reading a pair; its formats,
// names and saving are in the headers below.
#pragma once

#include <string>

#include <functional>

#include "document/map_document.h"
#include "pair_files/grid_text_reader.h"
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

// A pass over a pair: its parameters as the file writes them, and its grid
// file, opened, which the pass reads through a GridTextReader (each row
// `width` cells, then one character skipped, as an Open reads them). False
// where the grid file could not be read.
using PairPass = std::function<bool(const MapParameters& written, FILE* grid)>;

// Reads the pair as ReadMapFilePair does (the same files, the same failures,
// read again while a save changes them) without building the grid: `pass`
// reads the rows, for tools that read a large map once. `pass` may run more
// than once, and must start afresh each time.
Result<PairSources> ScanMapFilePair(const std::string& mapPath, const PairPass& pass);

// The parameters as the document holds them right after an Open of a pair
// that wrote `written`: a width of 0 or less as rows without cells, a
// threshold that breaks the ordering rule at its default.
MapParameters OpenedParameters(const MapParameters& written);
