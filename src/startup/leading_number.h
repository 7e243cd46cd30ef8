#pragma once
// How numbers are read from text everywhere: configuration values, index
// fields, data references.
#include <cstdint>
#include <string_view>

namespace zorv {

// The number at the start of the text. Blanks, tabs and line feeds are skipped
// wherever they stand; then an optional sign, digits, an optional "." with more
// digits and an optional exponent; "&H" and "&O" start a hexadecimal or octal
// number. Reading stops at the first other character; no number gives 0.
// Error 6 when the number is too large for a double.
double LeadingNumber(std::string_view text);

// Rounds to the nearest whole number, a half to the even neighbour.
// Error 6 outside the 32-bit range.
std::int32_t RoundToLong(double value);

// The whole text must be a number (blanks around it allowed), else error 13;
// then rounded as RoundToLong.
std::int32_t ToLong(std::string_view text);

}  // namespace zorv
