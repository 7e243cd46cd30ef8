#pragma once
// Changes to the format of text already in a document. Positions count as the
// plain text does (see plain_text.h).
#include <cstddef>
#include <string_view>

#include "richtext/document.h"

namespace zorv::richtext {

// Gives the characters [start, start + length) the colour. Runs are split where
// the range cuts them and equal neighbours merged again. A range that reaches
// the end of the text also colours the last paragraph's mark.
void Recolour(Document& document, std::size_t start, std::size_t length, Colour colour);

// Sets every character, and every paragraph mark, to the font and size.
void ApplyFont(Document& document, const Font& font, int halfPoints);

}  // namespace zorv::richtext
