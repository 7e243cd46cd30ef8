#pragma once
// Small views of a document that make test expectations one line each.
#include <cstdio>
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

// The document in one line: each run's format in <> where it changes (b, i, u,
// the half-points, f and the font's number, c and the colour), then its text;
// "\n" between paragraphs; a picture as [kind, sizes, goal, scale, data].
inline std::string Dump(const Document& document) {
  static const char* const kinds[] = {"?", "png", "jpeg", "dib", "ddb", "emf", "wmf"};
  std::string out, last;
  char text[160];
  for (std::size_t p = 0; p < document.paragraphs.size(); ++p) {
    if (p > 0) out += '\n';
    for (const auto& item : document.paragraphs[p].content) {
      if (const auto* run = std::get_if<TextRun>(&item)) {
        const CharacterFormat& f = run->format;
        std::snprintf(text, sizeof text, "<%s%s%s%d", f.bold ? "b" : "", f.italic ? "i" : "", f.underline ? "u" : "",
                      f.halfPoints);
        std::string format = text;
        if (f.font != 0) format += "f" + std::to_string(f.font);
        if (f.colour) std::snprintf(text, sizeof text, "c%06X", *f.colour), format += text;
        if (format != last) out += format + ">";
        last = format;
        out += Utf8(run->text);
      } else {
        const auto& picture = std::get<Picture>(item);
        std::snprintf(text, sizeof text, "[%s%d %dx%d %dx%d %dx%d ", kinds[static_cast<int>(picture.kind)],
                      picture.kindParameter, picture.width, picture.height, picture.goalWidth, picture.goalHeight,
                      picture.scaleX, picture.scaleY);
        out += text;
        for (std::uint8_t byte : picture.data) std::snprintf(text, sizeof text, "%02x", byte), out += text;
        out += "]";
      }
    }
  }
  return out;
}

}  // namespace zorv::richtext::testing
