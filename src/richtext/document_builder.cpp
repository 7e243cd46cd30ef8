#include "richtext/document_builder.h"

#include <utility>

namespace zorv::richtext {

std::size_t DocumentBuilder::AddFont(Font font) {
  document_.fonts.push_back(std::move(font));
  return document_.fonts.size() - 1;
}

std::u32string& DocumentBuilder::RunFor(const CharacterFormat& format) {
  auto& content = document_.paragraphs.back().content;
  if (!content.empty()) {
    if (auto* run = std::get_if<TextRun>(&content.back()); run != nullptr && run->format == format) return run->text;
  }
  return std::get<TextRun>(content.emplace_back(TextRun{format, {}})).text;
}

void DocumentBuilder::AppendText(const CharacterFormat& format, std::u32string_view text) {
  if (!text.empty()) RunFor(format).append(text);
}

void DocumentBuilder::AppendCharacter(const CharacterFormat& format, char32_t character) {
  RunFor(format).push_back(character);
}

void DocumentBuilder::AppendPicture(Picture picture) {
  document_.paragraphs.back().content.emplace_back(std::move(picture));
}

void DocumentBuilder::EndParagraph(const CharacterFormat& markFormat) {
  document_.paragraphs.back().markFormat = markFormat;
  document_.paragraphs.emplace_back();
}

Document DocumentBuilder::Finish(const CharacterFormat& lastMarkFormat) && {
  document_.paragraphs.back().markFormat = lastMarkFormat;
  return std::move(document_);
}

}  // namespace zorv::richtext
