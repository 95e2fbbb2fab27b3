// Portable Unicode helpers for the XML code: UTF-8 decoding and encoding, and
// the conversions from UTF-16 and ISO-8859-1 that need no code-page tables.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Code points of well-formed UTF-8 (no overlongs, no surrogates, at most
// U+10FFFF); nullopt for anything else.
std::optional<std::u32string> decodeUtf8(std::string_view utf8);
void appendUtf8(std::string& out, char32_t codePoint);

// UTF-16 bytes (no byte-order mark) to UTF-8; nullopt for an odd length or an
// unpaired surrogate.
std::optional<std::string> utf16ToUtf8(std::string_view bytes, bool bigEndian);
std::string latin1ToUtf8(std::string_view bytes);
