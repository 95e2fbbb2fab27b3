// Conversions between the program's narrow strings, Shift_JIS and UTF-8.
// The program's narrow strings are in the ANSI code page (932 on the systems
// Kalmia is made for). Implemented with Win32 in the executable and with iconv
// natively, where the narrow strings are code page 932 as well.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class CodePage {
    Ansi,      // the process's narrow strings
    ShiftJis,  // code page 932, the parameter file's encoding
    // What the terminal shows: UTF-8 natively; on Windows the console's
    // output code page, or the ANSI code page where output is no console.
    Terminal,
};

// nullopt when the bytes are not valid in the code page.
std::optional<std::string> CodePageToUtf8(CodePage codePage, std::string_view bytes);

// Whether a byte starts a double-byte character of Shift_JIS (code page 932).
inline bool IsShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Whether a byte of a path starts a double-byte character whose second byte
// may look like ASCII: the ANSI code page's lead bytes on Windows; never
// natively, where paths are UTF-8 (or plain bytes) and no byte of a longer
// character is ASCII.
bool IsPathLeadByte(unsigned char byte);

// Characters the code page cannot hold become its default character "?".
// The input must be valid UTF-8.
std::string Utf8ToCodePage(CodePage codePage, std::string_view utf8);
