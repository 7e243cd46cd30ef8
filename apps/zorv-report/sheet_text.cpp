#include "sheet_text.h"

#include "platform/cp1252.h"
#include "window/shown_paragraphs.h"
#include "window/shown_picture_size.h"

namespace zorv {
namespace {

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t'; }

class TextWriter final : private ShownParagraphVisitor {
 public:
  explicit TextWriter(const HeadlessSheet& sheet) : sheet_(sheet) {}

  std::string Write() {
    const auto& paragraphs = sheet_.Report().Content().paragraphs;
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
      if (i > 0) NewLine();
      pictureEndedLine_ = false;
      VisitShownParagraph(paragraphs[i], *this);
    }
    if (!text_.empty() && text_.back() != '\n') text_ += '\n';
    return text_;
  }

 private:
  void NewLine() {
    text_ += '\n';
    lineHasText_ = false;
  }

  void Text(const richtext::CharacterFormat&, std::u32string_view text) override {
    for (const char32_t c : text) {
      if (c == U'\v') {
        NewLine();
        pictureEndedLine_ = false;
        continue;
      }
      // Text after a picture goes on a line of its own, blanks before it dropped.
      if (pictureEndedLine_) {
        if (IsBlank(c)) continue;
        NewLine();
        pictureEndedLine_ = false;
      }
      AppendUtf8(text_, c);
      lineHasText_ = lineHasText_ || !IsBlank(c);
    }
  }

  void Picture(const richtext::Picture& picture) override {
    if (lineHasText_ || pictureEndedLine_) NewLine();
    const PixelSize size = ShownPictureSize(picture, {}, sheet_.Screen());
    const ShownFile* file = sheet_.Pictures().FileOf(picture);
    std::string line = "[" + std::string(PictureWord(file != nullptr ? file->category : 0, sheet_.State().Language));
    if (file != nullptr) line += ": " + FileNameOf(*file);
    line += ", " + std::to_string(size.width) + "x" + std::to_string(size.height) + "]";
    text_ += Cp1252ToUtf8(line);
    lineHasText_ = true;
    pictureEndedLine_ = true;
  }

  void PieceBreak() override {
    NewLine();
    pictureEndedLine_ = false;
  }

  const HeadlessSheet& sheet_;
  std::string text_;
  bool lineHasText_ = false;
  bool pictureEndedLine_ = false;
};

}  // namespace

std::string SheetText(const HeadlessSheet& sheet) { return TextWriter(sheet).Write(); }

}  // namespace zorv
