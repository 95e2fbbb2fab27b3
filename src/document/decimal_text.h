// The two ways the program reads decimal numbers out of text. Both skip
// leading white space, take an optional sign and the digits up to the first
// non-digit, and ignore whatever follows; they differ in what they make of
// text without a number or beyond the 32-bit range.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

enum class NumberProblem { None, NoDigits, OutOfRange };

struct ParameterNumber {
    std::int32_t value = 0;  // valid when problem is None
    NumberProblem problem = NumberProblem::None;
};

// Parameter-file values, with the reason when there is no digit or the value
// does not fit in 32 bits.
ParameterNumber ReadParameterNumber(std::string_view text);

// Dialog fields, as atoi/strtol do it: 0 when there is no digit, values beyond
// the 32-bit range saturate at 2147483647 and -2147483648.
std::int32_t parseDialogNumber(std::string_view text);

// "%d" of a 32-bit value: shortest form, minus sign only.
std::string FormatDecimal(std::int32_t value);
