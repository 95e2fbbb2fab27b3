// Checks shared by the fuzz targets.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "document/map_document.h"

// Stops the fuzzer with a finding when a property does not hold.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (0)

// The document's invariants: at least one row, rows of one length, cells 0 or 1.
inline bool keepsInvariants(const MapDocument& document) {
    if (document.cells.empty()) return false;
    const size_t width = document.cells.front().size();
    for (const CellRow& row : document.cells) {
        if (row.size() != width) return false;
        for (auto cell : row)
            if (cell > 1) return false;
    }
    return true;
}
