#include "window/shown_paragraphs.h"

#include <cstdint>
#include <variant>

namespace zorv {
namespace {

constexpr std::size_t kLongestParagraph = 32768;
constexpr std::size_t kPieceLength = 4096;

std::size_t LengthOf(const richtext::Paragraph& paragraph) {
  std::size_t length = 0;
  for (const auto& piece : paragraph.content) {
    const auto* run = std::get_if<richtext::TextRun>(&piece);
    length += run != nullptr ? run->text.size() : 1;
  }
  return length;
}

}  // namespace

void VisitShownParagraph(const richtext::Paragraph& paragraph, ShownParagraphVisitor& visitor) {
  const std::size_t pieceLength = LengthOf(paragraph) > kLongestParagraph ? kPieceLength : SIZE_MAX;
  std::size_t shown = 0;  // characters in the piece being filled
  const auto startPieceWhenFull = [&] {
    if (shown < pieceLength) return;
    visitor.PieceBreak();
    shown = 0;
  };
  for (const auto& piece : paragraph.content) {
    if (const auto* run = std::get_if<richtext::TextRun>(&piece)) {
      std::u32string_view rest = run->text;
      while (!rest.empty()) {
        startPieceWhenFull();
        std::size_t take = std::min(rest.size(), pieceLength - shown);
        if (take < rest.size()) {
          const std::size_t space = rest.substr(0, take).find_last_of(U' ');
          if (space != std::u32string_view::npos) take = space + 1;
          shown = pieceLength;
        } else {
          shown += take;
        }
        visitor.Text(run->format, rest.substr(0, take));
        rest.remove_prefix(take);
      }
    } else {
      startPieceWhenFull();
      visitor.Picture(std::get<richtext::Picture>(piece));
      ++shown;
    }
  }
}

}  // namespace zorv
