// Native code-page conversions through iconv; narrow strings are code page
// 932, and the terminal takes UTF-8.
#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "system/code_page.h"

namespace {

constexpr const char* SHIFT_JIS_ICONV_NAME = "CP932";

// One conversion descriptor per call: conversions are rare (one Open or Save).
struct Converter {
    Converter(const char* to, const char* from) : handle(iconv_open(to, from)) {}
    ~Converter() {
        if (handle != reinterpret_cast<iconv_t>(-1)) iconv_close(handle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    iconv_t handle;
};

// Converts as much as it can; returns false at the first invalid or
// unrepresentable sequence, leaving `in` pointing at it.
bool convertRun(iconv_t handle, std::string_view& in, std::string& out) {
    char buffer[4096];
    while (!in.empty()) {
        char* inPtr = const_cast<char*>(in.data());
        size_t inLeft = in.size();
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(handle, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, outPtr);
        in.remove_prefix(in.size() - inLeft);
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) return false;
    }
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(handle, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, outPtr);
    return true;
}

size_t utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

std::optional<std::string> CodePageToUtf8(CodePage codePage, std::string_view bytes) {
    if (codePage == CodePage::Terminal) return std::string(bytes);
    Converter converter("UTF-8", SHIFT_JIS_ICONV_NAME);
    if (converter.handle == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out;
    if (!convertRun(converter.handle, bytes, out)) return std::nullopt;
    return out;
}

std::string Utf8ToCodePage(CodePage codePage, std::string_view utf8) {
    if (codePage == CodePage::Terminal) return std::string(utf8);
    Converter converter(SHIFT_JIS_ICONV_NAME, "UTF-8");
    std::string out;
    if (converter.handle == reinterpret_cast<iconv_t>(-1)) return out;
    while (!convertRun(converter.handle, utf8, out)) {
        out += '?';
        const size_t skip = utf8SequenceLength(static_cast<unsigned char>(utf8.front()));
        utf8.remove_prefix(std::min(skip, utf8.size()));
    }
    return out;
}

bool IsPathLeadByte(unsigned char) { return false; }
