#pragma once
// The rich-text box the window shows the report in: it takes RTF (or plain text)
// in and gives it out again, counts and recolours the plain text through a
// selection, and holds the colour and font a view draws it with. A view renders
// `Content()`; `Revision()` tells it when the content has changed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/colour.h"
#include "richtext/document.h"

namespace zorv::richtext {

class RichTextBox {
 public:
  RichTextBox();

  // Replaces the content. Bytes that start with "{\rtf" are read as RTF, any
  // other bytes as Windows-1252 plain text in the box's font. The selection
  // goes back to the start.
  void SetTextRTF(std::string_view bytes);
  // The content as RTF: what SaveFile writes.
  std::string TextRTF() const;

  // The plain text as UTF-8; a paragraph break is "\n", a picture U+FFFC.
  std::string Text() const;
  std::u32string TextCodePoints() const;
  // Replaces the content with UTF-8 plain text in the box's font.
  void SetText(std::string_view utf8);
  // The plain text's length in characters, the unit of the selection.
  std::size_t TextLength() const;

  // The selection, in characters of the plain text. Setting the start clamps
  // it to the text and empties the selection; the length is clamped to what
  // follows the start.
  std::size_t SelStart() const { return selStart_; }
  void SetSelStart(std::size_t start);
  std::size_t SelLength() const { return selLength_; }
  void SetSelLength(std::size_t length);
  // Colours the selected characters (0x00BBGGRR).
  void SetSelColor(Colour colour);

  // The background the box is drawn on; it is not part of the RTF.
  Colour BackColor() const { return backColor_; }
  void SetBackColor(Colour colour) { backColor_ = colour & 0xFFFFFF; }

  // The font of plain text: set on the whole content now in the box, and used
  // for plain text given later and for RTF text that names no font it declares.
  void SetFont(std::string_view name, double points);
  const std::string& FontName() const { return font_.name; }
  double FontSize() const { return halfPoints_ / 2.0; }

  // Writes TextRTF() to the file (a Windows path). Error 75 when it cannot.
  void SaveFile(std::string_view windowsPath) const;

  const Document& Content() const { return document_; }
  std::uint64_t Revision() const { return revision_; }

 private:
  void Replace(Document document);

  Document document_;
  Font font_;
  int halfPoints_ = 20;
  Colour backColor_ = 0xFFFFFF;
  std::size_t selStart_ = 0;
  std::size_t selLength_ = 0;
  std::uint64_t revision_ = 0;
};

}  // namespace zorv::richtext
