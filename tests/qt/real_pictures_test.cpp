// The window with its real picture source: PNG files through our decoder,
// JPEG and GIF through Qt, all shown in place in the report; a transparent PNG
// is blended onto the window, which narrows to the picture.
#include <QBuffer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

#include "window_fixture.h"

namespace zorv::testing {
namespace {

std::string Encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format, 100);
  return bytes.toStdString();
}

QImage Filled(int width, int height, QColor colour, QImage::Format format = QImage::Format_RGB32) {
  QImage image(width, height, format);
  image.fill(colour);
  return image;
}

// A 1 x 1 GIF whose one pixel is the first colour of a red and black palette.
const std::string kRedGif = std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00", 19) +
                            std::string(",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;", 17);

struct RealPictureTest : WindowTest {
  void SetUp() override {
    WindowTest::SetUp();
    const std::string root = collection.Str() + "/pictures/";
    collection.Write("Zorv.inf", "TitlesPath=" + root + "titles/\r\nSnapPath=" + root + "snap/\r\nMarqueesPath=" +
                                     root + "marquees/\r\nCabinetsPath=" + root + "cabinets/\r\nCpanelPath=" + root +
                                     "cpanel/\r\nFlyersPath=" + root + "flyers/\r\nWidth=800\r\nHeight=600\r\n"
                                     "BackColor=Blue\r\n");
  }

  std::vector<QImage> ImagesShown() {
    std::vector<QImage> images;
    const QTextDocument& document = *window->Report().document();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
      for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
        const QTextImageFormat format = piece.fragment().charFormat().toImageFormat();
        if (!format.isValid()) continue;
        images.push_back(document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>());
        EXPECT_DOUBLE_EQ(format.width(), images.back().width());
      }
    }
    return images;
  }
};

TEST_F(RealPictureTest, PngJpegAndGifFilesShowInTheirPlaces) {
  collection.Write("pictures/snap/gng.png", Encoded(Filled(30, 20, QColor(255, 0, 255)), "PNG"));
  collection.Write("pictures/flyers/gng.jpg", Encoded(Filled(24, 16, QColor(255, 255, 0)), "JPEG"));
  collection.Write("pictures/cabinets/gng.gif", kRedGif);
  collection.Write("pictures/titles/gng.png", "a PNG file that is not one");
  Open("gng");
  ShowAndActivate();
  const auto images = ImagesShown();
  // In the built-in template's order: flyer, title screen, cabinet, snapshot.
  ASSERT_EQ(images.size(), 4u);
  const auto colourOf = [](const QImage& image) { return image.pixelColor(image.width() / 2, image.height() / 2); };
  EXPECT_EQ(images[0].size(), QSize(24, 16));
  EXPECT_NEAR(colourOf(images[0]).red(), 255, 8) << "flyer";
  EXPECT_NEAR(colourOf(images[0]).blue(), 0, 8) << "flyer";
  // The broken title gets the scratch box's empty design area (255 twips).
  EXPECT_EQ(images[1].size(), QSize(17, 17));
  EXPECT_EQ(images[2].size(), QSize(1, 1));
  EXPECT_EQ(colourOf(images[2]), QColor(255, 0, 0)) << "cabinet";
  EXPECT_EQ(images[3].size(), QSize(30, 20));
  EXPECT_EQ(colourOf(images[3]), QColor(255, 0, 255)) << "snap";
}

TEST_F(RealPictureTest, TransparentPngBlendsOntoTheWindowWhichNarrowsToIt) {
  // Half-transparent white over the window's blue.
  collection.Write("pictures/snap/gng.png", Encoded(Filled(40, 30, QColor(255, 255, 255, 128),
                                                           QImage::Format_ARGB32),
                                                    "PNG"));
  ReportWindow& form = Open("gng");
  const QRect report = form.Report().geometry();
  ShowAndActivate();
  // 40 pixels are 600 twips, less than the window: it becomes 700 twips wide.
  EXPECT_EQ(form.width(), 47);
  EXPECT_EQ(form.height(), 37);
  EXPECT_EQ(form.Report().geometry(), report);
  const auto images = ImagesShown();
  ASSERT_EQ(images.size(), 1u);
  const QColor blended = images[0].pixelColor(20, 15);
  EXPECT_NEAR(blended.red(), 128, 2);
  EXPECT_NEAR(blended.green(), 128, 2);
  EXPECT_NEAR(blended.blue(), 255, 2);
}

}  // namespace
}  // namespace zorv::testing
