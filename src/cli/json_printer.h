// The results of kalmia-cli's commands as JSON: one object a line on
// standard output, texts in UTF-8.
#pragma once

#include "cli/map_comparison.h"
#include "cli/map_summary.h"
#include "cli/pair_check.h"

void PrintJson(const PairCheck& check, bool passed);
void PrintJson(const MapSummary& summary);
void PrintJson(const MapComparison& comparison);
