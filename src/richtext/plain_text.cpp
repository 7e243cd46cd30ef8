#include "richtext/plain_text.h"

#include "platform/cp1252.h"

namespace zorv::richtext {
namespace {

std::size_t LengthOf(const Inline& item) {
  if (const auto* run = std::get_if<TextRun>(&item)) return run->text.size();
  return 1;
}

template <typename Visit>
void ForEachCharacter(const Document& document, Visit&& visit) {
  for (std::size_t p = 0; p < document.paragraphs.size(); ++p) {
    if (p > 0) visit(kParagraphBreak);
    for (const auto& item : document.paragraphs[p].content) {
      if (const auto* run = std::get_if<TextRun>(&item)) {
        for (char32_t c : run->text) visit(c);
      } else {
        visit(kPictureCharacter);
      }
    }
  }
}

}  // namespace

std::size_t PlainTextLength(const Document& document) {
  if (document.paragraphs.empty()) return 0;
  std::size_t length = document.paragraphs.size() - 1;
  for (const auto& paragraph : document.paragraphs) {
    for (const auto& item : paragraph.content) length += LengthOf(item);
  }
  return length;
}

std::u32string PlainTextCodePoints(const Document& document) {
  std::u32string text;
  text.reserve(PlainTextLength(document));
  ForEachCharacter(document, [&](char32_t c) { text.push_back(c); });
  return text;
}

std::string PlainTextUtf8(const Document& document) {
  std::string text;
  text.reserve(PlainTextLength(document));
  ForEachCharacter(document, [&](char32_t c) { AppendUtf8(text, c); });
  return text;
}

}  // namespace zorv::richtext
