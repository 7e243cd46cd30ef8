// The report window as the user meets it: its size and place from Zorv.inf,
// the colours of the text on the screen, the keys, the pictures put in on the
// first activation, and closing.
#include <QBuffer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>

#include <filesystem>

#include "richtext/picture_reader.h"
#include "window_fixture.h"

namespace zorv::testing {
namespace {

using ReportWindowTest = WindowTest;

TEST_F(ReportWindowTest, IsTheFramelessZorvaneWindowWithItsIcon) {
  ReportWindow& form = Open("gng");
  EXPECT_EQ(form.objectName(), "ZRVForm1");
  EXPECT_EQ(form.windowTitle(), "Zorvane");
  EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(form.windowIcon().pixmap(32, 32).isNull());
  EXPECT_EQ(form.Report().objectName(), "RT");
  EXPECT_TRUE(form.Report().isReadOnly());
}

struct PlaceCase {
  const char* name;
  std::string zorvInf;
  QRect window;  // pixels
  QRect report;
  friend void PrintTo(const PlaceCase& test, std::ostream* out) { *out << test.name; }
};

class WindowPlaceTest : public WindowTest, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(WindowPlaceTest, SizeMarginsAndPlaceFollowZorvInf) {
  if (!GetParam().zorvInf.empty()) collection.Write("Zorv.inf", GetParam().zorvInf);
  ReportWindow& form = Open("gng");
  EXPECT_EQ(form.geometry(), GetParam().window);
  EXPECT_EQ(form.Report().geometry(), GetParam().report);
}

// 100 twips are 6.67 pixels at 15 twips per pixel: the margins round to 7.
INSTANTIATE_TEST_SUITE_P(
    ZorvInf, WindowPlaceTest,
    ::testing::Values(PlaceCase{"NoFileCoversTheScreen", "", QRect(0, 0, 1024, 768), QRect(7, 7, 1011, 755)},
                      PlaceCase{"SizeInPixels", "Width=800\r\nHeight=600\r\n", QRect(0, 0, 800, 600),
                                QRect(7, 7, 787, 587)},
                      // Left (7680 - 6000) twips, top 0.9 x 5760 - 4500 twips.
                      PlaceCase{"Centred", "Width=800\r\nHeight=600\r\ncenter\r\n", QRect(112, 46, 800, 600),
                                QRect(7, 7, 787, 587)},
                      // 600 twips wide, not more than 630: RT keeps its design place and width.
                      PlaceCase{"TooNarrowForMargins", "Width=40\r\nHeight=400\r\n", QRect(0, 0, 40, 400),
                                QRect(0, 7, 529, 387)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportWindowTest, OnTopAsksTheWindowManagerToKeepItAbove) {
  collection.Write("Zorv.inf", "OnTop\r\n");
  EXPECT_TRUE(Open("gng").windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(Open("gng /ontop").windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(ReportWindowTest, TextShowsInTheConfiguredColoursOnTheBackColour) {
  collection.Write("Zorv.inf", "Width=600\r\nHeight=400\r\nColor=Red\r\nBackColor=Blue\r\nSize=20\r\n");
  ReportWindow& form = Open("gng");
  ShowAndActivate();
  const QImage view = form.Report().grab().toImage();
  const QImage whole = form.grab().toImage();
  EXPECT_EQ(whole.pixelColor(1, 1), QColor(0, 0, 255)) << "the window's margin";
  EXPECT_EQ(view.pixelColor(view.width() - 2, view.height() - 2), QColor(0, 0, 255));
  EXPECT_GT(PixelsOfColour(view, 0x0000FF), 200) << "red text";
  EXPECT_EQ(PixelsOfColour(view, 0x00FF00), 0) << "nothing left in the default green";
}

TEST_F(ReportWindowTest, UsageSheetIsWhiteInAFixedPitchFont) {
  collection.Write("Zorv.inf", "Color=Red\r\nBackColor=Blue\r\nWidth=300\r\n");
  ReportWindow& form = Open("");
  EXPECT_EQ(form.geometry(), QRect(0, 0, 1024, 768)) << "the usage sheet keeps the screen's size";
  const QTextBlock first = form.Report().document()->firstBlock();
  EXPECT_EQ(first.text().toStdString(), " [Press 'ESC' key to exit]");
  const QFont font = first.begin().fragment().charFormat().font();
  EXPECT_TRUE(QFontInfo(font).fixedPitch()) << QFontInfo(font).family().toStdString();
  EXPECT_DOUBLE_EQ(font.pointSizeF(), 10);
  ShowAndActivate();
  const QImage view = form.Report().grab().toImage();
  EXPECT_GT(PixelsOfColour(view, 0xFFFFFF), 200);
  EXPECT_EQ(PixelsOfColour(view, 0x0000FF), 0);
}

// A report long enough to scroll: the notes run over many lines.
std::string LongNotes() {
  std::string notes = "[gng]\r\n";
  for (int i = 0; i < 300; ++i) notes += "Line " + std::to_string(i) + " of the notes.\r\n";
  return notes;
}

TEST_F(ReportWindowTest, ArrowKeysPageAndScrollTheReport) {
  collection.Write("notes.txt", LongNotes());
  collection.Write("Zorv.inf", "Width=600\r\nHeight=400\r\n");
  ReportWindow& form = Open("gng");
  ShowAndActivate();
  QScrollBar& scroll = *form.Report().verticalScrollBar();
  ASSERT_GT(scroll.maximum(), 3 * scroll.pageStep());
  ASSERT_EQ(scroll.value(), 0);

  PressKey(form.Report(), Qt::Key_Right);
  EXPECT_EQ(scroll.value(), scroll.pageStep());
  PressKey(form.Report(), Qt::Key_Right);
  EXPECT_EQ(scroll.value(), 2 * scroll.pageStep());
  PressKey(form.Report(), Qt::Key_Left);
  EXPECT_EQ(scroll.value(), scroll.pageStep());
  PressKey(form.Report(), Qt::Key_Down);
  EXPECT_EQ(scroll.value(), scroll.pageStep() + scroll.singleStep());
  PressKey(form.Report(), Qt::Key_Up);
  PressKey(form.Report(), Qt::Key_Up);
  EXPECT_EQ(scroll.value(), scroll.pageStep() - scroll.singleStep());
  EXPECT_TRUE(form.isVisible());
}

struct CloseKey {
  const char* name;
  int key;
  QString text;
  friend void PrintTo(const CloseKey& test, std::ostream* out) { *out << test.name; }
};

class CloseKeyTest : public WindowTest, public ::testing::WithParamInterface<CloseKey> {};

TEST_P(CloseKeyTest, ClosesTheWindowAndWritesAMissingZorvInf) {
  ReportWindow& form = Open("gng");
  ShowAndActivate();
  ASSERT_FALSE(collection.Exists("Zorv.inf"));
  PressKey(form.Report(), GetParam().key, GetParam().text);
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(form.IsClosing());
  const std::string written = collection.Read("Zorv.inf");
  EXPECT_TRUE(written.starts_with("IndexPath=")) << written;
  EXPECT_NE(written.find("\r\nWidth=1024\r\nHeight=768\r\nFont=Arial\r\nSize=10\r\nColor=Green\r\n"),
            std::string::npos)
      << written;
}

INSTANTIATE_TEST_SUITE_P(Keys, CloseKeyTest,
                         ::testing::Values(CloseKey{"Escape", Qt::Key_Escape, QStringLiteral("\x1b")},
                                           CloseKey{"Ampersand", Qt::Key_Ampersand, QStringLiteral("&")}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportWindowTest, ClosingLeavesAnExistingZorvInfAlone) {
  const std::string mine = "Width=640\r\nHeight=480\r\nmy own line\r\n";
  collection.Write("Zorv.inf", mine);
  ReportWindow& form = Open("gng");
  ShowAndActivate();
  PressKey(form, Qt::Key_Escape, QStringLiteral("\x1b"));
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(collection.Read("Zorv.inf"), mine);
}

// A picture source that gives each loaded file a small PNG picture of one
// colour, as the real source gives the file's picture.
class ColouredPictures final : public PictureSource {
 public:
  explicit ColouredPictures(std::function<void(const std::string&)> onLoad = {}) : onLoad_(std::move(onLoad)) {}

  void LoadPictureFile(const std::string& path) override {
    loaded.push_back(path);
    if (onLoad_) onLoad_(path);
  }
  std::string PictureToRtf() override {
    richtext::Picture picture;
    picture.kind = richtext::BlipKind::Png;
    picture.width = 40;
    picture.height = 30;
    picture.goalWidth = 40 * 15;
    picture.goalHeight = 30 * 15;
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    picture.data.assign(png.begin(), png.end());
    return richtext::PictureGroupText(picture);
  }

  std::vector<std::string> loaded;

 private:
  std::function<void(const std::string&)> onLoad_;
};

int ImagesIn(const QTextDocument& document) {
  int images = 0;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto piece = block.begin(); !piece.atEnd(); ++piece) images += piece.fragment().charFormat().isImageFormat();
  }
  return images;
}

struct PictureWindowTest : WindowTest {
  void SetUp() override {
    WindowTest::SetUp();
    for (const char* folder : {"titles", "snap", "marquees", "cabinets", "cpanel", "flyers"}) {
      collection.Write(std::string("pictures/") + folder + "/gng.png", "not read by the test source");
    }
    const std::string root = collection.Str() + "/";
    collection.Write("Zorv.inf", "TitlesPath=" + root + "pictures/titles/\r\nSnapPath=" + root +
                                     "pictures/snap/\r\nMarqueesPath=" + root + "pictures/marquees/\r\nCabinetsPath=" +
                                     root + "pictures/cabinets/\r\nCpanelPath=" + root +
                                     "pictures/cpanel/\r\nFlyersPath=" + root + "pictures/flyers/\r\nSavePath=" + root +
                                     "saved/\r\nWidth=800\r\nHeight=600\r\n");
    std::filesystem::create_directories(collection.Path() / "saved");
  }
  ColouredPictures* pictures = nullptr;
  ReportWindow::PictureSourceMaker Source(std::function<void(const std::string&)> onLoad = {}) {
    return [this, onLoad](ReportWindow&) {
      auto source = std::make_unique<ColouredPictures>(onLoad);
      pictures = source.get();
      return source;
    };
  }
};

TEST_F(PictureWindowTest, FirstActivationPutsThePicturesInPlaceOnceAndSaves) {
  ReportWindow& form = Open("gng /nosnap", Source());
  EXPECT_EQ(ImagesIn(*form.Report().document()), 0) << "the text comes first";
  ShowAndActivate();
  EXPECT_EQ(pictures->loaded.size(), 5u);
  EXPECT_EQ(ImagesIn(*form.Report().document()), 5);
  EXPECT_TRUE(form.Form().AlreadyActivated());
  const std::string saved = collection.Read("saved/ZRV_gng.rtf");
  EXPECT_NE(saved.find("\\pngblip"), std::string::npos);

  // Later activations load nothing again.
  QEvent activate(QEvent::WindowActivate);
  QCoreApplication::sendEvent(&form, &activate);
  EXPECT_EQ(pictures->loaded.size(), 5u);

  // Scroll to the pictures at the report's end: they show in their colour.
  form.Report().verticalScrollBar()->setValue(form.Report().verticalScrollBar()->maximum());
  EXPECT_GT(PixelsOfColour(form.Report().grab().toImage(), 0xFF00FF), 40 * 30);
}

TEST_F(PictureWindowTest, WhereTheUserScrolledWhilePicturesLoadedStays) {
  collection.Write("notes.txt", LongNotes());
  ReportWindow* target = nullptr;
  int reached = 0;
  ReportWindow& form = Open("gng", Source([&](const std::string&) {
                              if (reached > 0) return;
                              // While the pictures load, the user reads on to the report's end.
                              RunEventsUntil([] { return false; }, 300);
                              QScrollBar& scroll = *target->Report().verticalScrollBar();
                              scroll.triggerAction(QAbstractSlider::SliderToMaximum);
                              reached = scroll.value();
                            }));
  target = &form;
  ShowAndActivate();
  ASSERT_EQ(ImagesIn(*form.Report().document()), 6);
  ASSERT_GT(reached, 0);
  // The report with its pictures keeps the reader where they were.
  EXPECT_TRUE(RunEventsUntil([&] { return form.Report().verticalScrollBar()->value() == reached; }))
      << form.Report().verticalScrollBar()->value() << " instead of " << reached;
}

TEST_F(PictureWindowTest, ClosingWhilePicturesLoadStopsCleanly) {
  ReportWindow* target = nullptr;
  ReportWindow& form = Open("gng", Source([&target](const std::string&) {
                              // The user presses Esc while the first picture loads.
                              QCoreApplication::postEvent(&target->Report(),
                                                          new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
                            }));
  target = &form;
  form.show();
  ASSERT_TRUE(RunEventsUntil([&] { return form.IsClosing(); }));
  RunEventsUntil([] { return false; }, 100);
  EXPECT_EQ(pictures->loaded.size(), 1u);
  EXPECT_FALSE(form.Form().AlreadyActivated());
  EXPECT_FALSE(collection.Exists("saved/ZRV_gng.rtf"));
  EXPECT_EQ(ImagesIn(*form.Report().document()), 0);
}

TEST_F(PictureWindowTest, TheWindowMayGoWhilePicturesLoad) {
  bool deleted = false;
  ReportWindow* target = nullptr;
  Open("gng", Source([&](const std::string&) {
         if (deleted) return;
         deleted = true;
         delete target;  // what a platform teardown would do between two pictures
       }));
  target = window.release();
  target->show();
  EXPECT_TRUE(RunEventsUntil([&] { return deleted; }));
  RunEventsUntil([] { return false; }, 100);
  EXPECT_FALSE(collection.Exists("saved/ZRV_gng.rtf"));
}

}  // namespace
}  // namespace zorv::testing
