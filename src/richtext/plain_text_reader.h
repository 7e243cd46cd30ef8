#pragma once
// Text that is not RTF is shown as it stands, in the box's default font.
#include <string_view>

#include "richtext/document.h"

namespace zorv::richtext {

// CR LF, a lone CR and a lone LF each end a paragraph. The document's one font
// is `font`; every character has that font at `halfPoints`.
Document ReadPlainText(std::u32string_view text, const Font& font, int halfPoints);

}  // namespace zorv::richtext
