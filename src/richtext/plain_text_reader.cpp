#include "richtext/plain_text_reader.h"

#include "richtext/document_builder.h"

namespace zorv::richtext {

Document ReadPlainText(std::u32string_view text, const Font& font, int halfPoints) {
  DocumentBuilder builder;
  CharacterFormat format;
  format.font = builder.AddFont(font);
  format.halfPoints = halfPoints;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != U'\r' && text[i] != U'\n') continue;
    builder.AppendText(format, text.substr(lineStart, i - lineStart));
    builder.EndParagraph(format);
    if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
    lineStart = i + 1;
  }
  builder.AppendText(format, text.substr(lineStart));
  return std::move(builder).Finish(format);
}

}  // namespace zorv::richtext
