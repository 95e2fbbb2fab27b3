// Text from the map (the program's narrow strings, ANSI code page) as the
// terminal shows it: UTF-8 on Linux, the console's code page on Windows.
#pragma once

#include <string>

std::string ForTerminal(const std::string& ansiText);

// Text from the map as UTF-8, for JSON and web pages, whatever the terminal.
std::string Utf8FromAnsi(const std::string& ansiText);

// A file's path as UTF-8, for a web page: Linux's paths are UTF-8 already,
// Windows' narrow paths are in the ANSI code page.
std::string PathAsUtf8(const std::string& path);
