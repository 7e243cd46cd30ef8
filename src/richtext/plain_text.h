#pragma once
// The document as plain text, counted the way selections count: one position per
// character, per tab, per line break, per picture and per paragraph break.
#include <cstddef>
#include <string>

#include "richtext/document.h"

namespace zorv::richtext {

// What a picture stands as in the plain text.
constexpr char32_t kPictureCharacter = U'\uFFFC';
// What a paragraph break stands as in the plain text.
constexpr char32_t kParagraphBreak = U'\n';

std::size_t PlainTextLength(const Document& document);
std::u32string PlainTextCodePoints(const Document& document);
std::string PlainTextUtf8(const Document& document);

}  // namespace zorv::richtext
