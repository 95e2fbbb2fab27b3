#include "cli/console_text.h"

// Linux terminals take UTF-8.
std::string ForTerminal(const std::string& ansiText) { return Utf8FromAnsi(ansiText); }

std::string PathAsUtf8(const std::string& path) { return path; }
