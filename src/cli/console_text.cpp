#include "cli/console_text.h"

#include "system/code_page.h"

std::string Utf8FromAnsi(const std::string& ansiText) {
    return codePageToUtf8(CodePage::Ansi, ansiText).value_or(ansiText);
}
