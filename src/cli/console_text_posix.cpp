#include "cli/console_text.h"
#include "system/code_page.h"

std::string ForTerminal(const std::string& ansiText) {
    return codePageToUtf8(CodePage::Ansi, ansiText).value_or(ansiText);
}

std::string PathAsUtf8(const std::string& path) { return path; }
