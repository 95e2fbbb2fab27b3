#include "cli/console_text.h"

// Windows' narrow paths are in the ANSI code page.
std::string PathAsUtf8(const std::string& path) { return Utf8FromAnsi(path); }
