// What kalmia-cli says about a file: an error (the editor refuses the pair,
// or a file cannot be read or written), a warning or a conflict, at a place.
#pragma once

#include <string>

#include "system/failure.h"

struct PairMessage {
    std::string path;  // the file the message is about
    int line = 0;      // 1-based; 0 where no place applies
    int column = 0;
    std::string kind;  // a short stable name: "not-well-formed", "short-line"
    std::string message;
};

// The message of a failure, naming the file at fault.
PairMessage MessageOf(const Failure& failure);

// "PATH:LINE:COLUMN: SEVERITY: MESSAGE", the place left out where it does not
// apply, as compilers print it.
std::string FormatPairMessage(const PairMessage& message, const char* severity);
