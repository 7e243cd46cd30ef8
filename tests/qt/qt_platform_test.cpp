// The platform facilities the window adapts: screen metrics, the picture
// loader for JPEG and GIF files, the window as a background picture, and the
// one message box.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QBuffer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "platform/run_time_error.h"
#include "window/qt/qt_message_box.h"
#include "platform/qt/qt_picture_loader.h"
#include "window/qt/screen_metrics_qt.h"
#include "window/qt/window_picture.h"
#include "window_fixture.h"

namespace zorv {
namespace {

using testing::EnsureApplication;
using testing::TempFolder;

TEST(ScreenMetricsTest, TwipsPerPixelFollowTheLogicalResolution) {
  EnsureApplication();
  const QScreen& screen = *QGuiApplication::primaryScreen();
  const ScreenMetrics metrics = ScreenMetricsOf(screen);
  EXPECT_FLOAT_EQ(metrics.TwipsPerPixelX, static_cast<float>(1440.0 / screen.logicalDotsPerInchX()));
  EXPECT_NEAR(metrics.WidthPixels(), screen.geometry().width(), 0.5);
  EXPECT_NEAR(metrics.HeightPixels(), screen.geometry().height(), 0.5);
}

TEST(ScreenMetricsTest, TwipsBecomeWholePixels) {
  EXPECT_EQ(TwipsToPixels(100.0, 15.0f), 7);
  EXPECT_EQ(TwipsToPixels(7935.0, 15.0f), 529);
  EXPECT_EQ(TwipsToPixels(-100.0, 15.0f), 0);
  EXPECT_EQ(TwipsToPixels(1e300, 15.0f), 1 << 24);
  EXPECT_EQ(TwipsToPixels(100.0, 0.0f), 0);
  EXPECT_EQ(TwipsRectToPixels(-150, 150, 1500, 3000, ScreenMetrics{}), QRect(-10, 10, 100, 200));
}

// A 1 x 1 GIF whose one pixel is colour 0 of a red and black palette; with
// `transparent` that colour is the transparent one.
std::string OnePixelGif(bool transparent) {
  std::string gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00", 19);
  if (transparent) gif.append("\x21\xf9\x04\x01\x00\x00\x00\x00", 8);
  gif.append(",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;", 17);
  return gif;
}

std::string Jpeg(int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPEG", 100);
  return bytes.toStdString();
}

TEST(PictureLoaderTest, LoadsJpegAndGifOrFailsWithItsNumber) {
  EnsureApplication();
  const struct {
    std::string name, file;  // written as "pictures/<name>"
    std::string asked;       // the path the loader is given, below the folder
    std::string expected;    // size and top-left colour to the nearest 16th (JPEG is lossy), or the failure
  } rows[] = {
      {"snap.jpg", Jpeg(8, 6, QColor(0, 0, 255)), "PICTURES\\Snap.JPG", "8x6 000010"},
      {"red.gif", OnePixelGif(false), "pictures/red.gif", "1x1 100000"},
      {"clear.gif", OnePixelGif(true), "pictures/clear.gif", "1x1 101010"},
      {"here.gif", OnePixelGif(false), "pictures/missing.gif", "53"},
      {"text.jpg", "not a picture at all", "pictures/text.jpg", "481"}, {"empty.gif", "", "pictures/empty.gif", "481"},
      {"cut.jpg", Jpeg(8, 6, Qt::red).substr(0, 20), "pictures/cut.jpg", "481"},
      // A header that claims 65535 x 65535 pixels is refused before reading them.
      {"huge.gif", std::string("GIF89a\xff\xff\xff\xff\x80\x00\x00\xff\x00\x00\x00\x00\x00", 19) +
                       std::string(",\x00\x00\x00\x00\xff\xff\xff\xff\x00\x02\x02\x44\x01\x00;", 17),
       "pictures/huge.gif", "481"},
  };
  for (const auto& row : rows) {
    TempFolder folder;
    folder.Write("pictures/" + row.name, row.file);
    std::string got;
    try {
      const Image image = QtPictureLoader().Load(folder.Str() + "\\" + row.asked);
      const std::uint32_t first = image.Empty() ? 0 : image.At(0, 0);
      char text[32];
      std::snprintf(text, sizeof text, "%dx%d %02X%02X%02X", image.width, image.height, ((first >> 16 & 255) + 8) / 16,
                    ((first >> 8 & 255) + 8) / 16, ((first & 255) + 8) / 16);
      got = text;
    } catch (const RunTimeError& failure) {
      got = std::to_string(failure.Number());
    }
    EXPECT_EQ(got, row.expected) << row.name;
  }
}

TEST(WindowPictureTest, SizesInTwipsAndCapturesWhatTheWindowShows) {
  EnsureApplication();
  QWidget window;
  window.resize(40, 30);
  QPalette colours = window.palette();
  colours.setColor(QPalette::Window, QColor(0, 128, 255));
  window.setPalette(colours);
  window.setAutoFillBackground(true);
  WindowPicture picture(window, ScreenMetrics{1024 * 15, 768 * 15, 15.0f, 15.0f});
  EXPECT_EQ(picture.Width(), 600);
  EXPECT_EQ(picture.Height(), 450);
  picture.SetWidth(300);
  picture.SetHeight(150);
  EXPECT_EQ(window.size(), QSize(20, 10));

  const Image inside = picture.Capture(0, 0, 4, 3);
  EXPECT_EQ(inside, Image(4, 3, 0x0080FF));
  // Beyond the window's edge the capture reads black.
  const Image across = picture.Capture(18, 8, 4, 4);
  EXPECT_EQ(across.At(1, 1), 0x0080FFu);
  EXPECT_EQ(across.At(2, 1), 0u);
  EXPECT_EQ(across.At(1, 2), 0u);
  EXPECT_EQ(picture.Capture(2000000000, -2000000000, 5, 5), Image(5, 5, 0));
  EXPECT_TRUE(picture.Capture(0, 0, -3, 2).Empty());
}

TEST(QtMessageBoxTest, ShowsTheMessageModallyUntilOk) {
  EnsureApplication();
  QString shown;
  QTimer::singleShot(0, [&shown] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    shown = box->text();
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    box->button(QMessageBox::Ok)->click();
  });
  QtMessageBox messages;
  messages.Show("Caf\xe9 table is broken");
  EXPECT_EQ(shown, QString::fromUtf8("Caf\u00e9 table is broken"));
}

}  // namespace
}  // namespace zorv
