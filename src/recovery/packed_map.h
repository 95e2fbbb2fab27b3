// A map at one bit a cell: what a recovery copy holds, and the copy the
// recovery keeper follows the editor's map with, step by step, at an eighth
// of the map's own memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/edit_history.h"
#include "document/map_document.h"
#include "document/map_parameters.h"

struct PackedMap {
    MapParameters parameters;  // the size as x and y, the thresholds, the name
    // Row after row, rowWords words a row: bit i of word c is cell
    // (c × 64 + i). Bits beyond the width are clear.
    std::vector<std::uint64_t> words;
    std::size_t rowWords = 0;
};

std::size_t RowWordsFor(int width);

PackedMap PackMap(const MapDocument& document);
MapDocument UnpackMap(const PackedMap& map);

// Does to `map` what the step did to the editor's map: going forward (a
// step recorded or redone) or backward (undone). A 64 × 64 block of the
// masks is one word in each of 64 rows here.
void ApplyStepTo(PackedMap& map, const EditStep& step, StepDirection direction);
