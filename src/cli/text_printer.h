// The results of kalmia-cli's commands as text: results on standard output,
// one "key: value" a line with names as the terminal shows them; errors,
// warnings and conflicts on standard error, one a line as compilers print
// them.
#pragma once

#include <vector>

#include "cli/map_comparison.h"
#include "cli/map_summary.h"
#include "cli/pair_check.h"
#include "cli/pair_messages.h"

void PrintText(const MapSummary& summary);
void PrintText(const MapComparison& comparison);

// Every message of the check, errors first.
void PrintMessages(const PairCheck& check);

// At most `limit` messages, then a line with how many were left out, of
// `total` (at least the messages given).
void PrintMessages(const std::vector<PairMessage>& messages, const char* severity,
                   size_t limit = SIZE_MAX, size_t total = 0);

void PrintFailure(const Failure& failure);
