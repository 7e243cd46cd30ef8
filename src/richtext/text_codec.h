#pragma once
// Text coming into the box becomes code points here.
#include <string>
#include <string_view>

namespace zorv::richtext {

// One code point per Windows-1252 byte.
std::u32string Cp1252ToCodePoints(std::string_view bytes);

// Decodes UTF-8; a byte that does not start a well-formed sequence is taken as
// Windows-1252, as the rest of the program does with mixed text.
std::u32string Utf8ToCodePoints(std::string_view text);

}  // namespace zorv::richtext
