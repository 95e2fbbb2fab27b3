#include "xml/xml_names.h"

#include "xml/unicode_text.h"

namespace {

bool inRange(char32_t c, char32_t low, char32_t high) { return c >= low && c <= high; }

bool isNameStartChar(char32_t c) {
    return c == ':' || c == '_' || inRange(c, 'A', 'Z') || inRange(c, 'a', 'z') ||
           inRange(c, 0xC0, 0xD6) || inRange(c, 0xD8, 0xF6) || inRange(c, 0xF8, 0x2FF) ||
           inRange(c, 0x370, 0x37D) || inRange(c, 0x37F, 0x1FFF) || inRange(c, 0x200C, 0x200D) ||
           inRange(c, 0x2070, 0x218F) || inRange(c, 0x2C00, 0x2FEF) || inRange(c, 0x3001, 0xD7FF) ||
           inRange(c, 0xF900, 0xFDCF) || inRange(c, 0xFDF0, 0xFFFD) || inRange(c, 0x10000, 0xEFFFF);
}

bool isNameChar(char32_t c) {
    return isNameStartChar(c) || c == '-' || c == '.' || inRange(c, '0', '9') || c == 0xB7 ||
           inRange(c, 0x300, 0x36F) || inRange(c, 0x203F, 0x2040);
}

bool isXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || inRange(c, 0x20, 0xD7FF) ||
           inRange(c, 0xE000, 0xFFFD) || inRange(c, 0x10000, 0x10FFFF);
}

}  // namespace

bool IsXmlName(std::string_view utf8) {
    const auto codePoints = decodeUtf8(utf8);
    if (!codePoints || codePoints->empty() || !isNameStartChar(codePoints->front())) return false;
    for (char32_t c : *codePoints)
        if (!isNameChar(c)) return false;
    return true;
}

bool IsXmlCharData(std::string_view utf8) {
    const auto codePoints = decodeUtf8(utf8);
    if (!codePoints) return false;
    for (char32_t c : *codePoints)
        if (!isXmlChar(c)) return false;
    return true;
}
