// Code-page conversions of the executable, through the Win32 converters.
#include <windows.h>

#include "system/code_page.h"

namespace {

// The code page by its number, since the flags WideCharToMultiByte accepts
// depend on it (a system may use UTF-8 as its ANSI code page).
UINT windowsCodePage(CodePage codePage) {
    switch (codePage) {
        case CodePage::ShiftJis:
            return 932;
        case CodePage::Terminal:
            if (const UINT console = GetConsoleOutputCP()) return console;
            return GetACP();
        default:
            return GetACP();
    }
}

std::optional<std::wstring> toWide(UINT codePage, std::string_view bytes) {
    std::wstring wide;
    if (bytes.empty()) return wide;
    const int length = static_cast<int>(bytes.size());
    const int count =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (count <= 0) return std::nullopt;
    wide.resize(static_cast<size_t>(count));
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, wide.data(), count);
    return wide;
}

std::string fromWide(UINT codePage, const std::wstring& wide) {
    std::string bytes;
    if (wide.empty()) return bytes;
    const int length = static_cast<int>(wide.size());
    // UTF-8 and UTF-7 take neither flags nor a default character.
    const bool unicode = codePage == CP_UTF8 || codePage == CP_UTF7;
    const DWORD flags = unicode ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* defaultChar = unicode ? nullptr : "?";
    const int count =
        WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, defaultChar, nullptr);
    if (count <= 0) return bytes;
    bytes.resize(static_cast<size_t>(count));
    WideCharToMultiByte(codePage, flags, wide.data(), length, bytes.data(), count, defaultChar,
                        nullptr);
    return bytes;
}

}  // namespace

std::optional<std::string> CodePageToUtf8(CodePage codePage, std::string_view bytes) {
    const auto wide = toWide(windowsCodePage(codePage), bytes);
    if (!wide) return std::nullopt;
    return fromWide(CP_UTF8, *wide);
}

std::string Utf8ToCodePage(CodePage codePage, std::string_view utf8) {
    const auto wide = toWide(CP_UTF8, utf8);
    return wide ? fromWide(windowsCodePage(codePage), *wide) : std::string();
}

bool IsPathLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }
