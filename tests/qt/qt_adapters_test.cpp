// The Qt side of the window: the rich-text document as Qt shows it (formats,
// breaks, pictures at their sizes), the screen's metrics, the picture loader
// for JPEG and GIF files, the window as a background picture, the message box.
#include <QAbstractButton>
#include <QMessageBox>
#include <QScreen>
#include <QTextBlock>
#include <QTimer>

#include "platform/qt/qt_picture_loader.h"
#include "platform/run_time_error.h"
#include "richtext/rich_text_box.h"
#include "window/qt/document_renderer.h"
#include "window/qt/qt_embedded_picture.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_screen_metrics.h"
#include "platform/qt/qt_window_picture.h"
#include "window_fixture.h"

namespace zorv::testing {
namespace {

constexpr ScreenMetrics kScreen{1024 * 15, 768 * 15, 15.0f, 15.0f};

std::string Hex(const std::string& bytes) {
  std::string hex;
  for (unsigned char c : bytes) hex += "0123456789abcdef"[c >> 4], hex += "0123456789abcdef"[c & 15];
  return hex;
}

// Each block's fragments as "<family size, b i u, colour>text" or "[image W x H, colour at 1,1]", blocks after "|".
std::string Rendered(const std::string& rtf) {
  richtext::RichTextBox box;
  box.SetTextRTF(rtf);
  QTextDocument document;
  RenderDocument(box.Content(), document, kScreen);
  QString shown;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (block != document.begin()) shown += "|";
    for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
      const QTextCharFormat f = piece.fragment().charFormat();
      if (f.isImageFormat()) {
        const auto image = document.resource(QTextDocument::ImageResource, QUrl(f.toImageFormat().name())).value<QImage>();
        shown += QString("[%1x%2 %3]").arg(f.toImageFormat().width()).arg(f.toImageFormat().height())
                     .arg(image.valid(1, 1) ? image.pixelColor(1, 1).name() : "none");
        continue;
      }
      shown += QString("<%1 %2%3%4%5%6 %7>").arg(f.fontFamilies().toStringList().join(",")).arg(f.fontPointSize())
                   .arg(f.font().bold() ? " b" : "").arg(f.fontItalic() ? " i" : "").arg(f.fontUnderline() ? " u" : "")
                   .arg(f.fontStyleHint() == QFont::TypeWriter ? " fixed" : "").arg(f.foreground().color().name()) +
               piece.fragment().text();
    }
  }
  return shown.toStdString();
}

TEST(DocumentRenderer, ShowsRunsBreaksAndPicturesAsTheDocumentHoldsThem) {
  EnsureApplication();
  const std::string png = Hex(Encoded(30, 20, Qt::magenta, "PNG"));
  const struct {
    std::string rtf, shown;
  } rows[] = {
      {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern Courier New;}}{\\colortbl;\\red255\\green0\\blue0;"
       "\\red0\\green0\\blue255;}\\f0\\fs24 a{\\b b}{\\i c}{\\ul d}\\par \\f1\\fs31\\cf1 red \\cf2 blue\\par}",
       "<Arial 12 #000000>a<Arial 12 b #000000>b<Arial 12 i #000000>c<Arial 12 u #000000>d|<Courier New 15.5 fixed "
       "#ff0000>red <Courier New 15.5 fixed #0000ff>blue|"},
      {"{\\rtf1\\ansi \\'e9t\\'e9\\tab x\\line y\\par\\par z}", "<Arial 10 #000000>\u00e9t\u00e9\tx\u2028y||<Arial 10 #000000>z"},
      {"{\\rtf1 a{\\pict\\pngblip\\picw30\\pich20\\picwgoal900\\pichgoal600 " + png + "}{\\pict\\pngblip\\picwgoal900"
       "\\pichgoal600 " + png.substr(0, 20) + "}{\\pict\\jpegblip " + Hex(Encoded(16, 8, Qt::white, "JPEG")) + "}}",
       "<Arial 10 #000000>a[60x40 #ff00ff][60x40 none][16x8 #ffffff]"},
  };
  for (const auto& row : rows) EXPECT_EQ(Rendered(row.rtf), row.shown) << row.rtf.substr(0, 60);
}

TEST(DocumentRenderer, PicturesShowAtGoalTimesScaleElseTheirOwnSizeAndDecodeOrGiveNothing) {
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
  QImage image(20, 10, QImage::Format_RGB32);
  for (const auto& row : rows) {
    richtext::Picture picture;
    picture.kind = row.kind, picture.width = row.width, picture.height = row.height, picture.scaleX = row.scaleX;
    picture.goalWidth = row.goalWidth, picture.goalHeight = row.goalHeight, picture.scaleY = row.scaleY;
    EXPECT_EQ(PictureShownSize(picture, image, kScreen), row.shown) << row.goalWidth;
  }
  // A bitmap file without its 14-byte file header.
  richtext::Picture dib;
  dib.kind = BlipKind::DeviceIndependent;
  const std::string bmp = Encoded(3, 2, Qt::blue, "BMP");
  dib.data.assign(bmp.begin() + 14, bmp.end());
  EXPECT_EQ(DecodePicture(dib).size(), QSize(3, 2));
  EXPECT_EQ(DecodePicture(dib).pixelColor(2, 1), QColor(Qt::blue));
  for (const auto kind : {BlipKind::Png, BlipKind::Jpeg, BlipKind::DeviceIndependent, BlipKind::Metafile, BlipKind::Unknown}) {
    richtext::Picture picture;
    picture.kind = kind;
    EXPECT_TRUE(DecodePicture(picture).isNull());
    picture.data = {0x28, 0, 0, 0, 0xff, 0xff, 0xff, 0x7f, 1, 2, 3};
    EXPECT_TRUE(DecodePicture(picture).isNull());
    picture.data.resize(40, 0xff);
    EXPECT_TRUE(DecodePicture(picture).isNull());
  }
}

TEST(QtPlatform, ScreenTwipsBecomeWholePixels) {
  EnsureApplication();
  const QScreen& screen = *QGuiApplication::primaryScreen();
  const ScreenMetrics metrics = ScreenMetricsOf(screen);
  EXPECT_FLOAT_EQ(metrics.TwipsPerPixelX, static_cast<float>(1440.0 / screen.logicalDotsPerInchX()));
  EXPECT_EQ(QSizeF(metrics.WidthPixels(), metrics.HeightPixels()).toSize(), screen.geometry().size());
  EXPECT_EQ(std::vector<int>({TwipsToPixels(100.0, 15.0f), TwipsToPixels(7935.0, 15.0f), TwipsToPixels(-100.0, 15.0f),
                              TwipsToPixels(1e300, 15.0f), TwipsToPixels(100.0, 0.0f)}), std::vector<int>({7, 529, 0, 1 << 24, 0}));
  EXPECT_EQ(TwipsRectToPixels(-150, 150, 1500, 3000, ScreenMetrics{}), QRect(-10, 10, 100, 200));
}

// A 1 x 1 GIF whose one pixel is colour 0 of a red and black palette; with
// `transparent` that colour is the transparent one.
std::string OnePixelGif(bool transparent) {
  std::string gif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00", 19);
  if (transparent) gif.append("\x21\xf9\x04\x01\x00\x00\x00\x00", 8);
  return gif.append(",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;", 17);
}

TEST(QtPlatform, PictureLoaderLoadsJpegAndGifOrFailsWithItsNumber) {
  EnsureApplication();
  const struct {
    std::string name, file;  // written as "pictures/<name>"
    std::string asked;       // the path the loader is given, below the folder
    std::string expected;    // size and top-left colour to the nearest 16th (JPEG is lossy), or the failure
  } rows[] = {
      {"snap.jpg", Encoded(8, 6, QColor(0, 0, 255), "JPEG"), "PICTURES\\Snap.JPG", "8x6 000010"},
      {"red.gif", OnePixelGif(false), "pictures/red.gif", "1x1 100000"},
      {"clear.gif", OnePixelGif(true), "pictures/clear.gif", "1x1 101010"},
      {"here.gif", OnePixelGif(false), "pictures/missing.gif", "53"},
      {"text.jpg", "not a picture at all", "pictures/text.jpg", "481"}, {"empty.gif", "", "pictures/empty.gif", "481"},
      {"cut.jpg", Encoded(8, 6, Qt::red, "JPEG").substr(0, 20), "pictures/cut.jpg", "481"},
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

TEST(QtPlatform, WindowPictureSizesInTwipsAndCapturesWhatTheWindowShowsAndTheMessageBoxWaitsForOk) {
  EnsureApplication();
  QWidget window;
  window.resize(40, 30);
  window.setStyleSheet("background: #0080ff");
  window.setAutoFillBackground(true);
  WindowPicture picture(window, kScreen);
  EXPECT_EQ(picture.Width() * 1000 + picture.Height(), 600450);
  picture.SetWidth(300);
  picture.SetHeight(150);
  EXPECT_EQ(window.size(), QSize(20, 10));
  EXPECT_EQ(picture.Capture(0, 0, 4, 3, {}), Image(4, 3, 0x0080FF));
  const Image across = picture.Capture(18, 8, 4, 4, {});  // beyond the window's edge the capture reads black
  EXPECT_EQ(std::vector<std::uint32_t>({across.At(1, 1), across.At(2, 1), across.At(1, 2)}), std::vector<std::uint32_t>({0x0080FF, 0, 0}));
  EXPECT_EQ(picture.Capture(2000000000, -2000000000, 5, 5, {}), Image(5, 5, 0));
  EXPECT_TRUE(picture.Capture(0, 0, -3, 2, {}).Empty());
  QString shown;
  QTimer::singleShot(0, [&shown] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    shown = box->text() + (box->standardButtons() == QMessageBox::Ok ? " [Ok]" : "");
    box->button(QMessageBox::Ok)->click();
  });
  QtMessageBox().Show("Caf\xe9 table is broken");
  EXPECT_EQ(shown, QString::fromUtf8("Caf\u00e9 table is broken [Ok]"));
}

}  // namespace
}  // namespace zorv::testing
