// What `kalmia-cli check` says about a pair: errors (the editor refuses the
// pair) and warnings (it reads the pair, but the file is almost surely not
// what its author meant).
#pragma once

#include <string>
#include <vector>

struct PairMessage {
    std::string path;  // the file the message is about
    int line = 0;      // 1-based; 0 where no place applies
    int column = 0;
    std::string kind;  // a short stable name: "not-well-formed", "short-line"
    std::string message;
};

// "PATH:LINE:COLUMN: SEVERITY: MESSAGE", the place left out where it does not
// apply, as compilers print it.
std::string formatPairMessage(const PairMessage& message, const char* severity);
