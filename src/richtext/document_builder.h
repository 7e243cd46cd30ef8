#pragma once
// Puts a document together in reading order: text joins the last run when it has
// the same format, so a reader never leaves two equal runs side by side.
#include <string_view>

#include "richtext/document.h"

namespace zorv::richtext {

class DocumentBuilder {
 public:
  std::size_t AddFont(Font font);
  const std::vector<Font>& Fonts() const { return document_.fonts; }

  void AppendText(const CharacterFormat& format, std::u32string_view text);
  void AppendCharacter(const CharacterFormat& format, char32_t character);
  void AppendPicture(Picture picture);
  // Ends the current paragraph with a break whose mark has this format.
  void EndParagraph(const CharacterFormat& markFormat);

  // The document, its last paragraph's mark given `lastMarkFormat`.
  Document Finish(const CharacterFormat& lastMarkFormat) &&;

 private:
  std::u32string& RunFor(const CharacterFormat& format);

  Document document_;
};

}  // namespace zorv::richtext
