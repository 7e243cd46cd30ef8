#pragma once
#include <string>

#include "richtext/rich_text_box.h"

namespace zorv {

// One self-contained HTML page of the report: the text with its fonts, sizes,
// bold, italics and colours on the report's background, pictures inline.
std::string ReportHtml(const richtext::RichTextBox& report);

}  // namespace zorv
