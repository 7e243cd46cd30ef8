#pragma once
// Small views of a document that make test expectations short.
#include <ostream>
#include <string>
#include <vector>

#include "platform/cp1252.h"
#include "richtext/document.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_reader.h"

namespace zorv::richtext::testing {

// Reads `body` inside a document group.
inline Document ReadBody(const std::string& body, const ReaderOptions& options = {}) {
  return ReadRtf("{\\rtf1 " + body + "}", options);
}

inline std::string Utf8(std::u32string_view text) {
  std::string out;
  for (char32_t c : text) AppendUtf8(out, c);
  return out;
}

// A short name for a test case in the test list: letters and digits only.
inline std::string Printable(std::string_view text) {
  std::string name;
  for (char c : text.substr(0, 32)) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    name += plain ? c : '_';
  }
  return name;
}

// Every run, or every picture, in reading order.
template <typename Item>
std::vector<Item> AllOf(const Document& document) {
  std::vector<Item> items;
  for (const auto& paragraph : document.paragraphs) {
    for (const auto& item : paragraph.content) {
      if (const auto* found = std::get_if<Item>(&item)) items.push_back(*found);
    }
  }
  return items;
}

inline std::vector<TextRun> AllRuns(const Document& document) { return AllOf<TextRun>(document); }
inline std::vector<Picture> AllPictures(const Document& document) { return AllOf<Picture>(document); }

}  // namespace zorv::richtext::testing
