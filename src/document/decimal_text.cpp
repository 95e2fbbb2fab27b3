#include "document/decimal_text.h"

#include <limits>
#include <string>

namespace {

struct ScannedNumber {
    bool hasDigits = false;
    bool outOfRange = false;
    std::int32_t saturated = 0;  // the value, clamped to the 32-bit range
};

// White space as the C library's isspace knows it in the "C" locale.
bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

ScannedNumber scanDecimal(std::string_view text) {
    constexpr std::int64_t LIMIT = std::numeric_limits<std::int32_t>::max();
    size_t at = 0;
    while (at < text.size() && isCSpace(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    ScannedNumber result;
    std::int64_t magnitude = 0;  // stops growing once it passes the range
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        result.hasDigits = true;
        if (magnitude <= LIMIT + 1) magnitude = magnitude * 10 + (text[at] - '0');
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    result.outOfRange = value > LIMIT || value < -LIMIT - 1;
    result.saturated = static_cast<std::int32_t>(value > LIMIT        ? LIMIT
                                                 : value < -LIMIT - 1 ? -LIMIT - 1
                                                                      : value);
    return result;
}

}  // namespace

ParameterNumber ReadParameterNumber(std::string_view text) {
    const ScannedNumber number = scanDecimal(text);
    if (!number.hasDigits) return {0, NumberProblem::NoDigits};
    if (number.outOfRange) return {0, NumberProblem::OutOfRange};
    return {number.saturated, NumberProblem::None};
}

std::int32_t parseDialogNumber(std::string_view text) { return scanDecimal(text).saturated; }

std::string FormatDecimal(std::int32_t value) { return std::to_string(value); }
