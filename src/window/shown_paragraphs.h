#pragma once
// How the sheet's paragraphs are shown, by the window and the exported page
// alike. Qt lays out a paragraph as a whole, in time that grows with the square
// of a stretch without break points (a 1 MB line takes half a minute), and
// defers only whole paragraphs below the window. So a paragraph longer than
// 32,768 characters is shown as pieces of at most 4,096, each cut after a space
// where the piece has one; the document keeps its text.
#include <string_view>

#include "richtext/document.h"

namespace zorv {

class ShownParagraphVisitor {
 public:
  virtual ~ShownParagraphVisitor() = default;
  // A stretch of a run, in the run's format.
  virtual void Text(const richtext::CharacterFormat& format, std::u32string_view text) = 0;
  virtual void Picture(const richtext::Picture& picture) = 0;
  // The piece being shown ends here; the next one starts on a line of its own,
  // drawn with the paragraph's mark format as the paragraph itself is.
  virtual void PieceBreak() = 0;
};

// Walks one paragraph's content as it is shown.
void VisitShownParagraph(const richtext::Paragraph& paragraph, ShownParagraphVisitor& visitor);

}  // namespace zorv
