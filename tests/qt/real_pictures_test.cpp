// The window with its real picture source: PNG files through our decoder,
// JPEG and GIF through Qt, all shown in place in the report; a transparent PNG
// is blended onto the window, which narrows to the picture; a picture that
// takes long to reach in its archive leaves the window answering its keys.
#include <QTextBlock>
#include <QTextDocument>
#include <chrono>
#include <filesystem>

#include "startup/picture_archives.h"
#include "window_fixture.h"

namespace zorv::testing {
namespace {

struct RealPictureTest : WindowTest {
  void SetUp() override {
    WindowTest::SetUp();
    std::string inf = "Width=800\r\nHeight=600\r\nBackColor=Blue\r\n";
    for (const char* folder : {"Titles", "Snap", "Marquees", "Cabinets", "Cpanel", "Flyers"}) {
      inf += std::string(folder) + "Path=" + collection.Str() + "/pictures/" + folder + "/\r\n";
    }
    collection.Write("Zorv.inf", inf);
  }
  // Each picture shown, at the size it is shown, with the colour at its middle.
  std::string Shown() {
    std::string shown;
    const QTextDocument& document = *window->Report().document();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
      for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
        const QTextImageFormat format = piece.fragment().charFormat().toImageFormat();
        if (!format.isValid()) continue;
        const auto image = document.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>();
        const QColor middle = image.pixelColor(image.width() / 2, image.height() / 2);
        // Colours to the nearest 16th: JPEG is lossy.
        shown += QString("%1x%2 %3,%4,%5|").arg(format.width()).arg(format.height()).arg((middle.red() + 8) / 16)
                     .arg((middle.green() + 8) / 16).arg((middle.blue() + 8) / 16).toStdString();
        EXPECT_EQ(format.width(), image.width());
      }
    }
    return shown;
  }
};

TEST_F(RealPictureTest, PngJpegAndGifFilesShowInTheirPlaces) {
  collection.Write("pictures/Snap/gng.png", Encoded(30, 20, QColor(255, 0, 255), "PNG"));
  collection.Write("pictures/Flyers/gng.jpg", Encoded(24, 16, QColor(255, 255, 0), "JPEG"));
  // A 1 x 1 GIF whose one pixel is the first colour of a red and black palette.
  collection.Write("pictures/Cabinets/gng.gif", std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\x00", 19) +
                                                     std::string(",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;", 17));
  collection.Write("pictures/Titles/gng.png", "a PNG file that is not one");
  Open("gng");
  ShowAndActivate();
  // In the built-in template's order: flyer, title screen (the scratch box's empty 17 x 17 design area), cabinet, snap.
  EXPECT_EQ(Shown(), "24x16 16,16,0|17x17 16,16,16|1x1 16,0,0|30x20 16,0,16|");
}

TEST_F(RealPictureTest, TransparentPngBlendsOntoTheWindowWhichNarrowsToIt) {
  // Half-transparent white over the window's blue; the text is blue too, so
  // that no letter lies where the picture takes its background, whatever the font.
  collection.Write("Zorv.inf", collection.Read("Zorv.inf") + "Color=Blue\r\n");
  collection.Write("pictures/Snap/gng.png", Encoded(40, 30, QColor(255, 255, 255, 128), "PNG", QImage::Format_ARGB32));
  ReportWindow& form = Open("gng");
  const QRect report = form.Report().geometry();
  ShowAndActivate();
  // 40 pixels are 600 twips, less than the window: it becomes 700 twips wide.
  EXPECT_EQ(form.size(), QSize(47, 37));
  EXPECT_EQ(form.Report().geometry(), report);
  EXPECT_EQ(Shown(), "40x30 8,8,16|");  // 128, 128, 255
}

// The real picture source, with Esc pressed as a picture starts to come out
// of an archive; how long that picture took to load.
class EscapeDuringArchiveRead final : public PictureSource {
 public:
  explicit EscapeDuringArchiveRead(ReportWindow& window) : window_(window), real_(MakeReportPictures(window)) {}
  void LoadPictureFile(const std::string& path) override {
    if (!IsArchivePicture(path)) return real_->LoadPictureFile(path);
    QCoreApplication::postEvent(&window_.Report(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    const auto start = std::chrono::steady_clock::now();
    real_->LoadPictureFile(path);
    loading = std::chrono::steady_clock::now() - start;
  }
  std::string PictureToRtf() override { return real_->PictureToRtf(); }
  std::chrono::steady_clock::duration loading{};

 private:
  ReportWindow& window_;
  std::unique_ptr<PictureSource> real_;
};

TEST_F(RealPictureTest, EscapeWhileAPictureDeepInAnArchiveIsReachedClosesTheWindowAtOnce) {
  // gng.png behind 64 MiB of zeros in one solid block of snap.7z.
  std::filesystem::create_directories(collection.Path() / "pictures");
  std::filesystem::copy_file(std::string(ZORV_TEST_DATA_DIR) + "/archives/solid-64M.7z",
                             collection.Path() / "pictures/Snap.7z");
  const auto start = std::chrono::steady_clock::now();
  ASSERT_FALSE(ReadArchivePicture(collection.Str() + "/pictures/Snap/|gng.png").empty());
  const auto wholeRead = std::chrono::steady_clock::now() - start;
  EscapeDuringArchiveRead* source = nullptr;
  ReportWindow& form = Open("gng", [&](ReportWindow& window) {
    auto made = std::make_unique<EscapeDuringArchiveRead>(window);
    source = made.get();
    return made;
  });
  form.show();
  ASSERT_TRUE(RunEventsUntil([&] { return form.IsClosing(); }));
  EXPECT_LT(source->loading, wholeRead / 2);
  EXPECT_FALSE(collection.Exists("Zorv.Log.txt"));
}

}  // namespace
}  // namespace zorv::testing
