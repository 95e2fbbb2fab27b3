// Warnings about a grid file that the editor reads without complaint: the
// file is read by the same text-mode rules (CR LF and LF end a line, a lone
// CR is a character, Ctrl-Z ends the file) and compared with the size that
// the parameter file gives.
#pragma once

#include <string>
#include <vector>

#include "cli/pair_messages.h"

// At most this many warnings of one kind are listed; one more line says how
// many were left out.
constexpr int MAX_WARNINGS_PER_KIND = 10;

std::vector<PairMessage> ScanGridFile(const std::string& path, long long width, long long height);
