// The Go to cell dialog's logic, apart from the window system: a cell as the
// texts of its two fields, "行" (line) and "列" (column), counted from 1 as
// kalmia-cli names places in a grid file, and those texts read back.
#pragma once

#include <string>

#include "document/cell_shapes.h"
#include "document/map_document.h"

struct GotoTexts {
    std::string line;
    std::string column;
};

GotoTexts GotoTextsFor(const CellPosition& cell);

// The cell the texts name, read as the parameter dialog reads numbers; a
// place outside the map gives the nearest cell of it.
CellPosition GotoCell(const GotoTexts& texts, const MapDocument& document);
