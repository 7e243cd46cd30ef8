#pragma once
// Reads RTF into a document. Whatever the input, reading ends normally: groups
// left open at the end are closed, nesting deeper than the reader keeps is
// flattened, numbers are clamped, unknown control words are passed over.
#include <string_view>

#include "richtext/document.h"

namespace zorv::richtext {

struct ReaderOptions {
  // The font of text that names none the document declares.
  Font defaultFont{"Arial"};
  // The size of text before any \fs, and after \plain.
  int defaultHalfPoints = 24;
};

// True when the bytes are RTF, that is, start with "{\rtf".
bool IsRtf(std::string_view bytes) noexcept;

// Text bytes outside \' and \u escapes are Windows-1252.
Document ReadRtf(std::string_view rtf, const ReaderOptions& options = {});

}  // namespace zorv::richtext
