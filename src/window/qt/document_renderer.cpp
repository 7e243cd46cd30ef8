#include "window/qt/document_renderer.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <cstdint>
#include <string_view>
#include <variant>

#include "window/qt/qt_colour.h"
#include "window/qt/qt_embedded_picture.h"
#include "window/shown_paragraphs.h"

namespace zorv {
namespace {

QFont::StyleHint StyleHintOf(richtext::FontFamily family) {
  switch (family) {
    case richtext::FontFamily::Roman:
      return QFont::Serif;
    case richtext::FontFamily::Swiss:
      return QFont::SansSerif;
    case richtext::FontFamily::Modern:
      return QFont::TypeWriter;
    case richtext::FontFamily::Script:
      return QFont::Cursive;
    case richtext::FontFamily::Decor:
      return QFont::Decorative;
    default:
      return QFont::AnyStyle;
  }
}

class Renderer final : private ShownParagraphVisitor {
 public:
  Renderer(const richtext::Document& document, QTextDocument& target, const ScreenMetrics& screen,
           Colour automaticColour)
      : document_(document), target_(target), screen_(screen), automaticColour_(automaticColour) {}

  void Run() {
    target_.clear();
    target_.setDocumentMargin(0);
    cursor_ = QTextCursor(&target_);
    cursor_.beginEditBlock();
    bool first = true;
    for (const auto& paragraph : document_.paragraphs) {
      mark_ = CharFormatOf(paragraph.markFormat);
      if (first) {
        cursor_.setBlockCharFormat(mark_);
        first = false;
      } else {
        cursor_.insertBlock(QTextBlockFormat(), mark_);
      }
      VisitShownParagraph(paragraph, *this);
    }
    cursor_.endEditBlock();
  }

 private:
  void Text(const richtext::CharacterFormat& format, std::u32string_view text) override {
    cursor_.insertText(TextOf(text), CharFormatOf(format));
  }
  void Picture(const richtext::Picture& picture) override { InsertPicture(cursor_, picture); }
  void PieceBreak() override { cursor_.insertBlock(QTextBlockFormat(), mark_); }

  QTextCharFormat CharFormatOf(const richtext::CharacterFormat& format) const {
    QTextCharFormat qt;
    if (format.font < document_.fonts.size()) {
      const auto& font = document_.fonts[format.font];
      qt.setFontFamilies(QStringList{QString::fromStdString(font.name)});
      qt.setFontStyleHint(StyleHintOf(font.family));
    }
    qt.setFontPointSize(format.halfPoints / 2.0);
    qt.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    qt.setFontItalic(format.italic);
    qt.setFontUnderline(format.underline);
    qt.setForeground(QtColour(format.colour.value_or(automaticColour_)));
    return qt;
  }

  // A vertical tab inside a run breaks the line without ending the paragraph.
  static QString TextOf(std::u32string_view text) {
    QString qt = QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
    qt.replace(QChar(0x000B), QChar(QChar::LineSeparator));
    return qt;
  }

  void InsertPicture(QTextCursor& cursor, const richtext::Picture& picture) {
    QImage image = DecodePicture(picture);
    const QSize shown = PictureShownSize(picture, image, screen_);
    if (shown.isEmpty()) return;
    if (image.isNull()) {
      // Data that cannot be drawn keeps its place, as an empty area.
      image = QImage(1, 1, QImage::Format_ARGB32);
      image.fill(Qt::transparent);
    }
    const QUrl name(QStringLiteral("zorv-picture:%1").arg(++pictures_));
    target_.addResource(QTextDocument::ImageResource, name, image);
    QTextImageFormat format;
    format.setName(name.toString());
    format.setWidth(shown.width());
    format.setHeight(shown.height());
    cursor.insertImage(format);
  }

  const richtext::Document& document_;
  QTextDocument& target_;
  const ScreenMetrics& screen_;
  Colour automaticColour_;
  QTextCursor cursor_;
  QTextCharFormat mark_;
  int pictures_ = 0;
};

}  // namespace

void RenderDocument(const richtext::Document& document, QTextDocument& target, const ScreenMetrics& screen,
                    Colour automaticColour) {
  Renderer(document, target, screen, automaticColour).Run();
}

}  // namespace zorv
