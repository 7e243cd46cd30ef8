#pragma once
// Text files are 8-bit Windows-1252: one byte is one character. Text stays in
// that form in memory; it becomes Unicode only where it leaves the program
// (a terminal, the window).
#include <string>
#include <string_view>

namespace zorv {

// The Unicode code point of one Windows-1252 byte. The five bytes the code
// page leaves undefined map to the C1 control of the same value.
char32_t Cp1252ToCodePoint(unsigned char byte) noexcept;

// The Windows-1252 byte of a code point, or '?' when the code page has none.
char CodePointToCp1252(char32_t codePoint) noexcept;

std::string Cp1252ToUtf8(std::string_view text);

// Decodes UTF-8; bytes that are not valid UTF-8 are taken as Windows-1252, so
// text that mixes both encodings survives.
std::string Utf8ToCp1252(std::string_view text);

// Decodes the UTF-8 sequence that starts at `i` into `codePoint` and returns its
// length, or 0 when it is not well-formed (overlong forms and surrogates included).
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t& codePoint) noexcept;

// True when every byte sequence is well-formed UTF-8.
bool IsValidUtf8(std::string_view text) noexcept;

void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace zorv
