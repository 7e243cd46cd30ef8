#pragma once
// Writes a document as RTF that word processors open: code page 1252, a font
// table and a colour table, one control word only where the format changes,
// pictures as their own group text, unchanged.
#include <string>

#include "richtext/document.h"

namespace zorv::richtext {

std::string WriteRtf(const Document& document);

}  // namespace zorv::richtext
