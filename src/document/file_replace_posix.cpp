// Replacing a file natively: rename() replaces an existing target atomically.
#include <cstdio>

#include "document/file_output.h"

bool replaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}
