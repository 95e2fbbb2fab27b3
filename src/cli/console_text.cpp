#include "cli/console_text.h"

#include "system/code_page.h"

std::string Utf8FromAnsi(const std::string& ansiText) {
    return CodePageToUtf8(CodePage::Ansi, ansiText).value_or(ansiText);
}

std::string ForTerminal(const std::string& ansiText) {
    const auto utf8 = CodePageToUtf8(CodePage::Ansi, ansiText);
    return utf8 ? Utf8ToCodePage(CodePage::Terminal, *utf8) : ansiText;
}
