// The two files of a map pair as formats: the grid file (<base>.map, lines
// of "0"/"1") and the parameter file (<base>.xml: size, thresholds, name).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "document/map_document.h"
#include "document/map_parameters.h"
#include "system/failure.h"
#include "xml/xml_nodes.h"

class ContentHasher;

// Reads height rows of width cells the way Windows text mode reads the file:
// CR LF and a lone LF are one character each, 0x1A ends the file. "1" sets a
// cell, anything else (the end of the file included) clears it, and one
// character after each row is the line end. Fails if the file cannot be
// opened or read.
Result<CellGrid> ReadGridFile(const std::string& path, int width, int height);

// What the parameter file says, before the ordering rule or any limit.
// The parameter file's values as written, or why an Open would refuse it.
Result<MapParameters> ReadPairParameters(const std::string& xmlPath);

// The tree of the parameter file for `document`.
XMLNodesPtr BuildParameterTree(const MapDocument& document);

// The same tree for values given one by one (x and y included).
XMLNodesPtr BuildParameterTreeOf(const MapParameters& parameters);

// Writes the grid as height lines of width "0"/"1" characters, each ending
// in CR LF, and flushes it to the disk. False if the file cannot be created
// or fully written. `hasher`, if given, takes every byte written.
bool WriteGridFile(const std::string& path, const CellGrid& grid, ContentHasher* hasher = nullptr);

// The same into the file at `path`, already opened for writing, which it
// closes.
Result<void> WriteGridText(FILE* file, const std::string& path, const CellGrid& grid,
                           ContentHasher* hasher = nullptr);
