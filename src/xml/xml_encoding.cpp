#include "xml/xml_encoding.h"

#include <algorithm>
#include <cctype>

#include "xml/code_page.h"
#include "xml/unicode_text.h"

namespace {

enum class Encoding { Utf8, Ascii, Latin1, ShiftJis, Unknown };

bool startsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

std::string upperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

Encoding encodingNamed(const std::string& declared) {
    const std::string name = upperCase(declared);
    if (name.empty() || name == "UTF-8" || name == "UTF8") return Encoding::Utf8;
    if (name == "US-ASCII" || name == "ASCII") return Encoding::Ascii;
    if (name == "ISO-8859-1" || name == "LATIN1" || name == "ISO_8859-1") return Encoding::Latin1;
    for (const char* alias : {"SHIFT_JIS", "SHIFT-JIS", "SJIS", "MS_KANJI", "CP932", "WINDOWS-31J"})
        if (name == alias) return Encoding::ShiftJis;
    return Encoding::Unknown;
}

bool isXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::optional<std::string> validUtf8(std::string_view bytes) {
    if (!decodeUtf8(bytes)) return std::nullopt;
    return std::string(bytes);
}

}  // namespace

std::string declaredEncoding(std::string_view bytes) {
    if (!startsWith(bytes, "<?xml") || bytes.size() < 6 || !isXmlSpace(bytes[5])) return "";
    const size_t end = bytes.find("?>");
    if (end == std::string_view::npos) return "";
    const std::string_view declaration = bytes.substr(0, end);
    size_t at = declaration.find("encoding");
    if (at == std::string_view::npos) return "";
    at += 8;
    while (at < declaration.size() && isXmlSpace(declaration[at])) ++at;
    if (at >= declaration.size() || declaration[at] != '=') return "";
    ++at;
    while (at < declaration.size() && isXmlSpace(declaration[at])) ++at;
    if (at >= declaration.size() || (declaration[at] != '\'' && declaration[at] != '"')) return "";
    const char quote = declaration[at++];
    const size_t close = declaration.find(quote, at);
    if (close == std::string_view::npos) return "";
    return std::string(declaration.substr(at, close - at));
}

std::optional<std::string> decodeXmlToUtf8(std::string_view bytes) {
    if (startsWith(bytes, "\xEF\xBB\xBF")) return validUtf8(bytes.substr(3));
    if (startsWith(bytes, "\xFF\xFE")) return utf16ToUtf8(bytes.substr(2), false);
    if (startsWith(bytes, "\xFE\xFF")) return utf16ToUtf8(bytes.substr(2), true);

    const std::string declared = declaredEncoding(bytes);
    switch (encodingNamed(declared)) {
        case Encoding::Utf8:
            return validUtf8(bytes);
        case Encoding::Ascii:
            if (std::any_of(bytes.begin(), bytes.end(),
                            [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
                return std::nullopt;
            return std::string(bytes);
        case Encoding::Latin1:
            return latin1ToUtf8(bytes);
        case Encoding::ShiftJis:
            return codePageToUtf8(CodePage::ShiftJis, bytes);
        case Encoding::Unknown:
            break;
    }
    return std::nullopt;
}
