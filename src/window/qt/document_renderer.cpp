#include "window/qt/document_renderer.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <cstdint>
#include <string_view>
#include <variant>

#include "window/qt/qt_embedded_picture.h"

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

QColor QtColour(Colour colour) { return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour)); }

// Qt lays out a paragraph as a whole, in time that grows with the square of a
// stretch without break points (a 1 MB line takes half a minute), and defers
// only whole paragraphs below the window. So a paragraph longer than
// kLongestParagraph characters is shown as pieces of at most kPieceLength,
// each cut after a space where the piece has one; the document keeps its text.
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

class Renderer {
 public:
  Renderer(const richtext::Document& document, QTextDocument& target, const ScreenMetrics& screen,
           Colour automaticColour)
      : document_(document), target_(target), screen_(screen), automaticColour_(automaticColour) {}

  void Run() {
    target_.clear();
    target_.setDocumentMargin(0);
    QTextCursor cursor(&target_);
    cursor.beginEditBlock();
    bool first = true;
    for (const auto& paragraph : document_.paragraphs) {
      const QTextCharFormat mark = CharFormatOf(paragraph.markFormat);
      if (first) {
        cursor.setBlockCharFormat(mark);
        first = false;
      } else {
        cursor.insertBlock(QTextBlockFormat(), mark);
      }
      const std::size_t pieceLength = LengthOf(paragraph) > kLongestParagraph ? kPieceLength : SIZE_MAX;
      std::size_t shown = 0;  // characters in the piece being filled
      const auto startPieceWhenFull = [&] {
        if (shown < pieceLength) return;
        cursor.insertBlock(QTextBlockFormat(), mark);
        shown = 0;
      };
      for (const auto& piece : paragraph.content) {
        if (const auto* run = std::get_if<richtext::TextRun>(&piece)) {
          const QTextCharFormat format = CharFormatOf(run->format);
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
            cursor.insertText(TextOf(rest.substr(0, take)), format);
            rest.remove_prefix(take);
          }
        } else {
          startPieceWhenFull();
          InsertPicture(cursor, std::get<richtext::Picture>(piece));
          ++shown;
        }
      }
    }
    cursor.endEditBlock();
  }

 private:
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
  int pictures_ = 0;
};

}  // namespace

void RenderDocument(const richtext::Document& document, QTextDocument& target, const ScreenMetrics& screen,
                    Colour automaticColour) {
  Renderer(document, target, screen, automaticColour).Run();
}

}  // namespace zorv
