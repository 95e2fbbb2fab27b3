#include <windows.h>

#include "cli/console_text.h"
#include "system/code_page.h"

namespace {

std::string convert(const std::string& text, UINT from, UINT to) {
    if (text.empty() || from == to) return text;
    const int length = static_cast<int>(text.size());
    const int wideCount = MultiByteToWideChar(from, 0, text.data(), length, nullptr, 0);
    if (wideCount <= 0) return text;
    std::wstring wide(static_cast<size_t>(wideCount), L'\0');
    MultiByteToWideChar(from, 0, text.data(), length, wide.data(), wideCount);
    const int count =
        WideCharToMultiByte(to, 0, wide.data(), wideCount, nullptr, 0, nullptr, nullptr);
    if (count <= 0) return text;
    std::string converted(static_cast<size_t>(count), '\0');
    WideCharToMultiByte(to, 0, wide.data(), wideCount, converted.data(), count, nullptr, nullptr);
    return converted;
}

}  // namespace

// Output that is not a console (a pipe, a file) keeps the ANSI code page.
std::string ForTerminal(const std::string& ansiText) {
    const UINT console = GetConsoleOutputCP();
    return console == 0 ? ansiText : convert(ansiText, GetACP(), console);
}

std::string PathAsUtf8(const std::string& path) { return Utf8FromAnsi(path); }
