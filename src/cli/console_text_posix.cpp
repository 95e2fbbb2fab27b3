#include "cli/console_text.h"

// Linux's paths are UTF-8 already.
std::string PathAsUtf8(const std::string& path) { return path; }
