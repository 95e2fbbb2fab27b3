// Portable Unicode helpers for the XML code: UTF-8 decoding and encoding.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Code points of well-formed UTF-8 (no overlongs, no surrogates, at most
// U+10FFFF); nullopt for anything else.
std::optional<std::u32string> decodeUtf8(std::string_view utf8);
void AppendUtf8(std::string& out, char32_t codePoint);
