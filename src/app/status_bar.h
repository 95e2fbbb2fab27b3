// The status bar's texts and the count of set cells it shows, apart from
// the platform. The count follows each step's masks; the map is counted
// only when another map takes its place.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "document/cell_masks.h"
#include "document/edit_history.h"
#include "document/map_document.h"

long long CountSetCells(const CellGrid& cells);

// The count after a step went `direction` on `cells` (the grid as the step
// left it): a cell the masks name is set now where the step set it, clear
// where it cleared it; a smaller size drops the cells it names.
long long SetCellsAfterStep(long long before, const EditStep& step, StepDirection direction,
                            const CellGrid& cells);

enum StatusPart { CellPart, DragPart, SizePart, SetCellsPart, ScalePart, ChangedPart, PART_COUNT };
using StatusTexts = std::array<std::string, PART_COUNT>;

struct StatusFacts {
    std::optional<CellPosition> pointer;  // the cell under the pointer
    std::optional<CellArea> drag;         // a shape being dragged
    int width = 0, height = 0;
    long long setCells = 0;
    bool unsaved = false;
};

// "LINE:COL", 1-based as kalmia-cli check prints a place, empty outside the
// map; "W × H" of the drag; the map's size; the set cells; the scale;
// "変更あり" while there are unsaved changes. In the ANSI code page.
StatusTexts StatusTextsOf(const StatusFacts& facts);
