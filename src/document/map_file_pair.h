// The map file pair: <base>.map holds the grid as lines of "0"/"1", <base>.xml
// the size, the four thresholds and the name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "document/load_failure.h"
#include "document/map_document.h"
#include "document/pair_save.h"
#include "xml/xml_nodes.h"

// The parameter file's path: the last three characters replaced by "xml"
// ("stage.m" gives "stagxml"); a shorter path gets "xml" appended.
std::string MakeXmlPath(const std::string& mapPath);

// Reads height rows of width cells the way Windows text mode reads the file:
// CR LF and a lone LF are one character each, 0x1A ends the file. "1" sets a
// cell, anything else (the end of the file included) clears it, and one
// character after each row is the line end. nullopt if the file cannot be
// opened or read.
std::optional<CellGrid> ReadGridFile(const std::string& path, int width, int height);

// What the parameter file says, before the ordering rule or any limit.
struct PairParameters {
    std::int32_t x = 0, y = 0, rank1 = 0, rank2 = 0, rate1 = 0, rate2 = 0;
    std::string name;
};

// The parameter file's values as written, or why an Open would refuse it.
std::variant<PairParameters, LoadFailure> ReadPairParameters(const std::string& xmlPath);

// The outcome of reading a pair: nothing, or why it was refused.
struct [[nodiscard]] PairReadResult {
    std::optional<LoadFailure> failure;
    bool ok() const { return !failure; }
    explicit operator bool() const { return ok(); }
};

// Reads the pair into `document`, all or nothing, after finishing a save of
// it that was interrupted (see FinishInterruptedSave): on any failure (the
// parameter file unreadable or not well-formed, a number missing or out of
// range, no rows, a size beyond the limits, the grid file unreadable) it
// returns the reason and leaves `document` exactly as it was.
PairReadResult ReadMapFilePair(const std::string& mapPath, MapDocument& document = currentMap);

// The tree of the parameter file for `document`.
XMLNodesPtr BuildParameterTree(const MapDocument& document = currentMap);

// Writes the grid as height lines of width "0"/"1" characters, each ending
// in CR LF. False if the file cannot be created or fully written.
bool WriteGridFile(const std::string& path, const CellGrid& grid);

enum class SaveOutcome { Saved, Failed };

// Writes the pair all or nothing (see document/pair_save.h): Saved when both
// new files are in place, Failed with the old pair as it was otherwise; errno
// then tells why.
SaveOutcome WriteMapFilePairFiles(const std::string& mapPath,
                                  const MapDocument& document = currentMap,
                                  const SaveStepObserver& observer = {});
