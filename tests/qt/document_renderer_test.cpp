// The rich-text box's document as Qt shows it: formats of the runs, paragraphs,
// line breaks and pictures at their sizes.
#include "window/qt/document_renderer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>

#include "richtext/rich_text_box.h"
#include "window/qt/picture_image.h"
#include "window_fixture.h"

namespace zorv {
namespace {

using testing::EnsureApplication;

constexpr ScreenMetrics kScreen{1024 * 15, 768 * 15, 15.0f, 15.0f};

std::unique_ptr<QTextDocument> Rendered(std::string_view rtf) {
  richtext::RichTextBox box;
  box.SetTextRTF(rtf);
  auto document = std::make_unique<QTextDocument>();
  RenderDocument(box.Content(), *document, kScreen);
  return document;
}

QTextCharFormat FormatAt(const QTextDocument& document, int block, int fragment = 0) {
  auto piece = document.findBlockByNumber(block).begin();
  for (int i = 0; i < fragment; ++i) ++piece;
  return piece.fragment().charFormat();
}

TEST(DocumentRendererTest, RunsKeepTheirFontSizeStyleAndColour) {
  EnsureApplication();
  const auto rendered = Rendered(
      "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}"
      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
      "\\f0\\fs24 plain {\\b bold} {\\i italic} {\\ul under} \\par "
      "\\f1\\fs31\\cf1 red \\cf2 blue\\par}");
  const QTextDocument& document = *rendered;
  ASSERT_EQ(document.blockCount(), 3) << "the last \\par opens an empty paragraph";
  EXPECT_EQ(document.findBlockByNumber(0).text(), "plain bold italic under ");
  const QTextCharFormat plain = FormatAt(document, 0, 0);
  EXPECT_EQ(plain.fontFamilies().toStringList(), QStringList{"Arial"});
  EXPECT_DOUBLE_EQ(plain.fontPointSize(), 12);
  EXPECT_FALSE(plain.font().bold());
  EXPECT_EQ(plain.foreground().color(), QColor(0, 0, 0)) << "automatic colour";
  EXPECT_TRUE(FormatAt(document, 0, 1).font().bold());
  EXPECT_TRUE(FormatAt(document, 0, 3).fontItalic());
  EXPECT_TRUE(FormatAt(document, 0, 5).fontUnderline());
  const QTextCharFormat red = FormatAt(document, 1, 0);
  EXPECT_EQ(red.fontFamilies().toStringList(), QStringList{"Courier New"});
  EXPECT_EQ(red.fontStyleHint(), QFont::TypeWriter);
  EXPECT_DOUBLE_EQ(red.fontPointSize(), 15.5);
  EXPECT_EQ(red.foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(FormatAt(document, 1, 1).foreground().color(), QColor(0, 0, 255));
}

TEST(DocumentRendererTest, CodePageTextTabsAndLineBreaks) {
  EnsureApplication();
  const auto rendered = Rendered("{\\rtf1\\ansi \\'e9t\\'e9\\tab x\\line y\\par\\par z}");
  const QTextDocument& document = *rendered;
  ASSERT_EQ(document.blockCount(), 3);
  EXPECT_EQ(document.findBlockByNumber(0).text(), QString::fromUtf8("\u00e9t\u00e9\tx\u2028y"));
  EXPECT_EQ(document.findBlockByNumber(1).text(), "");
  EXPECT_EQ(document.findBlockByNumber(2).text(), "z");
}

std::vector<std::uint8_t> Encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return {bytes.begin(), bytes.end()};
}

QImage Filled(int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

TEST(DocumentRendererTest, PicturesShowAtGoalTimesScaleElseTheirOwnSize) {
  EnsureApplication();
  using richtext::BlipKind;
  const struct {
    BlipKind kind;
    int width, height, goalWidth, goalHeight, scaleX, scaleY;
    QSize shown;
  } rows[] = {
      {BlipKind::Png, 20, 10, 600, 300, 100, 100, QSize(40, 20)}, {BlipKind::Png, 20, 10, 600, 300, 50, 200, QSize(20, 40)},
      {BlipKind::Jpeg, 64, 48, 0, 0, 100, 100, QSize(64, 48)}, {BlipKind::Png, 0, 0, 0, 0, 100, 100, QSize(20, 10)},
      // A metafile's \picw is not in pixels: without a goal the image decides.
      {BlipKind::Metafile, 5000, 5000, 0, 0, 100, 100, QSize(20, 10)},
      {BlipKind::Png, 1, 1, 2000000000, 15, 100, 100, QSize(16384, 1)},  // a huge goal is bounded
  };
  for (const auto& row : rows) {
    richtext::Picture picture;
    picture.kind = row.kind, picture.width = row.width, picture.height = row.height;
    picture.goalWidth = row.goalWidth, picture.goalHeight = row.goalHeight, picture.scaleX = row.scaleX;
    picture.scaleY = row.scaleY;
    EXPECT_EQ(PictureShownSize(picture, Filled(20, 10, Qt::red), kScreen), row.shown) << row.goalWidth;
  }
}

TEST(PictureImageTest, DecodesPngJpegAndDeviceIndependentBitmaps) {
  EnsureApplication();
  richtext::Picture png;
  png.kind = richtext::BlipKind::Png;
  png.data = Encoded(Filled(7, 5, Qt::green), "PNG");
  EXPECT_EQ(DecodePicture(png).size(), QSize(7, 5));
  EXPECT_EQ(DecodePicture(png).pixelColor(3, 3), QColor(Qt::green));

  richtext::Picture jpeg;
  jpeg.kind = richtext::BlipKind::Jpeg;
  jpeg.data = Encoded(Filled(16, 8, Qt::white), "JPEG");
  EXPECT_EQ(DecodePicture(jpeg).size(), QSize(16, 8));

  // A bitmap file without its 14-byte file header.
  richtext::Picture dib;
  dib.kind = richtext::BlipKind::DeviceIndependent;
  const auto bmp = Encoded(Filled(3, 2, Qt::blue), "BMP");
  dib.data.assign(bmp.begin() + 14, bmp.end());
  const QImage decoded = DecodePicture(dib);
  EXPECT_EQ(decoded.size(), QSize(3, 2));
  EXPECT_EQ(decoded.pixelColor(2, 1), QColor(Qt::blue));
}

TEST(PictureImageTest, DataThatIsNoPictureGivesNothing) {
  EnsureApplication();
  for (const auto kind : {richtext::BlipKind::Png, richtext::BlipKind::Jpeg, richtext::BlipKind::DeviceIndependent,
                          richtext::BlipKind::Metafile, richtext::BlipKind::Unknown}) {
    richtext::Picture picture;
    picture.kind = kind;
    EXPECT_TRUE(DecodePicture(picture).isNull());
    picture.data = {0x28, 0, 0, 0, 0xff, 0xff, 0xff, 0x7f, 1, 2, 3};
    EXPECT_TRUE(DecodePicture(picture).isNull());
    picture.data.resize(40, 0xff);
    EXPECT_TRUE(DecodePicture(picture).isNull());
  }
}

TEST(DocumentRendererTest, PicturesStandInTheTextAtTheirSize) {
  EnsureApplication();
  richtext::Picture picture;
  picture.kind = richtext::BlipKind::Png;
  picture.data = Encoded(Filled(30, 20, Qt::magenta), "PNG");
  picture.width = 30;
  picture.height = 20;
  picture.goalWidth = 900;  // 60 pixels
  picture.goalHeight = 600;
  richtext::Picture broken = picture;
  broken.data.resize(10);

  richtext::Document document;
  document.fonts.push_back({"Arial"});
  document.paragraphs[0].content = {richtext::TextRun{{}, U"before "}, picture, broken, richtext::TextRun{{}, U" after"}};
  QTextDocument rendered;
  RenderDocument(document, rendered, kScreen);

  auto piece = rendered.begin().begin();
  ++piece;
  const QTextImageFormat shown = piece.fragment().charFormat().toImageFormat();
  ASSERT_TRUE(shown.isValid());
  EXPECT_DOUBLE_EQ(shown.width(), 60);
  EXPECT_DOUBLE_EQ(shown.height(), 40);
  const QImage image = rendered.resource(QTextDocument::ImageResource, QUrl(shown.name())).value<QImage>();
  EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::magenta));
  ++piece;
  const QTextImageFormat placeholder = piece.fragment().charFormat().toImageFormat();
  ASSERT_TRUE(placeholder.isValid()) << "undecodable data keeps its place";
  EXPECT_DOUBLE_EQ(placeholder.width(), 60);
  EXPECT_DOUBLE_EQ(placeholder.height(), 40);
}

}  // namespace
}  // namespace zorv
