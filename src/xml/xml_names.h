// What XML 1.0 allows in names and in character data.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// An element name by the XML 1.0 Name production. Takes UTF-8.
bool IsXmlName(std::string_view utf8);

// True when every code point may appear in an XML 1.0 document (no control
// characters other than tab, line feed and carriage return). Takes UTF-8.
bool IsXmlCharData(std::string_view utf8);
