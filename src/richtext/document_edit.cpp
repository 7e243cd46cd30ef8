#include "richtext/document_edit.h"

#include <algorithm>
#include <utility>

#include "richtext/plain_text.h"

namespace zorv::richtext {
namespace {

// Joins neighbouring runs of the same format and drops empty ones.
void MergeRuns(std::vector<Inline>& content) {
  std::vector<Inline> merged;
  merged.reserve(content.size());
  for (auto& item : content) {
    auto* run = std::get_if<TextRun>(&item);
    if (run != nullptr) {
      if (run->text.empty()) continue;
      if (!merged.empty()) {
        if (auto* last = std::get_if<TextRun>(&merged.back()); last != nullptr && last->format == run->format) {
          last->text += run->text;
          continue;
        }
      }
    }
    merged.push_back(std::move(item));
  }
  content = std::move(merged);
}

// Recolours the part of one paragraph's content that lies in [from, to),
// positions counted from the paragraph's start.
void RecolourContent(std::vector<Inline>& content, std::size_t from, std::size_t to, Colour colour) {
  std::vector<Inline> result;
  result.reserve(content.size() + 2);
  std::size_t position = 0;
  for (auto& item : content) {
    auto* run = std::get_if<TextRun>(&item);
    if (run == nullptr) {  // a picture keeps no colour
      ++position;
      result.push_back(std::move(item));
      continue;
    }
    const std::size_t runStart = position;
    const std::size_t runEnd = position + run->text.size();
    position = runEnd;
    const std::size_t cutStart = std::clamp(from, runStart, runEnd) - runStart;
    const std::size_t cutEnd = std::clamp(to, runStart, runEnd) - runStart;
    if (cutStart == cutEnd) {
      result.push_back(std::move(item));
      continue;
    }
    CharacterFormat coloured = run->format;
    coloured.colour = colour;
    if (cutStart > 0) result.emplace_back(TextRun{run->format, run->text.substr(0, cutStart)});
    result.emplace_back(TextRun{coloured, run->text.substr(cutStart, cutEnd - cutStart)});
    if (cutEnd < run->text.size()) result.emplace_back(TextRun{run->format, run->text.substr(cutEnd)});
  }
  content = std::move(result);
  MergeRuns(content);
}

std::size_t ContentLength(const std::vector<Inline>& content) {
  std::size_t length = 0;
  for (const auto& item : content) {
    const auto* run = std::get_if<TextRun>(&item);
    length += run != nullptr ? run->text.size() : 1;
  }
  return length;
}

}  // namespace

void Recolour(Document& document, std::size_t start, std::size_t length, Colour colour) {
  const std::size_t total = PlainTextLength(document);
  if (length == 0 || start >= total) return;
  const std::size_t end = start + std::min(length, total - start);
  std::size_t paragraphStart = 0;
  for (std::size_t p = 0; p < document.paragraphs.size() && paragraphStart <= end; ++p) {
    Paragraph& paragraph = document.paragraphs[p];
    const std::size_t contentLength = ContentLength(paragraph.content);
    const std::size_t markPosition = paragraphStart + contentLength;
    if (markPosition > start) {
      RecolourContent(paragraph.content, start - std::min(start, paragraphStart), end - paragraphStart, colour);
    }
    const bool last = p + 1 == document.paragraphs.size();
    if ((markPosition >= start && markPosition < end) || (last && end == total)) {
      paragraph.markFormat.colour = colour;
    }
    paragraphStart = markPosition + 1;
  }
}

void ApplyFont(Document& document, const Font& font, int halfPoints) {
  const auto found = std::find(document.fonts.begin(), document.fonts.end(), font);
  const auto index = static_cast<std::size_t>(found - document.fonts.begin());
  if (found == document.fonts.end()) document.fonts.push_back(font);
  const int size = std::clamp(halfPoints, kSmallestHalfPoints, kLargestHalfPoints);
  for (auto& paragraph : document.paragraphs) {
    for (auto& item : paragraph.content) {
      if (auto* run = std::get_if<TextRun>(&item)) {
        run->format.font = index;
        run->format.halfPoints = size;
      }
    }
    paragraph.markFormat.font = index;
    paragraph.markFormat.halfPoints = size;
    MergeRuns(paragraph.content);
  }
}

}  // namespace zorv::richtext
