// Text from the map (the program's narrow strings, ANSI code page) as the
// terminal shows it: UTF-8 on Linux, the console's code page on Windows.
#pragma once

#include <string>

std::string ForTerminal(const std::string& ansiText);
