// The report window as the user meets it: its size and place from Zorv.inf,
// the colours of the text on the screen, the keys, bad settings and broken
// templates, the pictures put in on the first activation, and closing.
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>

#include "richtext/picture_reader.h"
#include "window_fixture.h"

namespace zorv::testing {
namespace {

using ReportWindowTest = WindowTest;

TEST_F(ReportWindowTest, IsTheFramelessZorvaneWindowWithItsIcon) {
  ReportWindow& form = Open("gng");
  EXPECT_EQ(form.objectName() + form.windowTitle() + form.Report().objectName(), "ZRVForm1ZorvaneRT");
  EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(form.windowIcon().pixmap(32, 32).isNull());
  EXPECT_TRUE(form.Report().isReadOnly());
  EXPECT_TRUE(Open("gng /ontop").windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  collection.Write("Zorv.inf", "OnTop\r\n");
  EXPECT_TRUE(Open("gng").windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(ReportWindowTest, SizeMarginsAndPlaceFollowZorvInf) {
  // 100 twips are 6.67 pixels at 15 twips per pixel: the margins round to 7.
  const struct {
    std::string zorvInf;
    QRect window, report;  // pixels
  } rows[] = {
      {"", QRect(0, 0, 1024, 768), QRect(7, 7, 1011, 755)},
      {"Width=800\r\nHeight=600\r\n", QRect(0, 0, 800, 600), QRect(7, 7, 787, 587)},
      // Left (7680 - 6000) twips, top 0.9 x 5760 - 4500 twips.
      {"Width=800\r\nHeight=600\r\ncenter\r\n", QRect(112, 46, 800, 600), QRect(7, 7, 787, 587)},
      // 600 twips wide, not more than 630: RT keeps its design place and width.
      {"Width=40\r\nHeight=400\r\n", QRect(0, 0, 40, 400), QRect(0, 7, 529, 387)},
  };
  for (const auto& row : rows) {
    collection.Write("Zorv.inf", row.zorvInf);
    ReportWindow& form = Open("gng");
    EXPECT_EQ(form.geometry(), row.window) << row.zorvInf;
    EXPECT_EQ(form.Report().geometry(), row.report) << row.zorvInf;
  }
}

TEST_F(ReportWindowTest, TextShowsInTheConfiguredColoursOnTheBackColour) {
  collection.Write("Zorv.inf", "Width=600\r\nHeight=400\r\nColor=Red\r\nBackColor=Blue\r\nSize=20\r\n");
  ReportWindow& form = Open("gng");
  ShowAndActivate();
  const QImage view = form.Report().grab().toImage();
  EXPECT_EQ(form.grab().toImage().pixelColor(1, 1), QColor(0, 0, 255)) << "the window's margin";
  EXPECT_EQ(view.pixelColor(view.width() - 2, view.height() - 2), QColor(0, 0, 255));
  const Ink red = InkOf(view, 0x0000FF, 0xFF0000);
  EXPECT_GT(red.amount, 200) << "red text";
  EXPECT_EQ(red.strayPixels, 0) << "nothing in another colour, the default green included";
  collection.Write("Zorv.inf", "Color=purple\r\nBackColor=\r\nWidth=400\r\nHeight=300\r\n");
  const QImage black = Open("gng").Report().grab().toImage();
  EXPECT_EQ(PixelsOfColour(black, 0x000000), black.width() * black.height()) << "no colour: black on black";
}

TEST_F(ReportWindowTest, UsageSheetIsWhiteInAFixedPitchFontOnTheWholeScreen) {
  collection.Write("Zorv.inf", "Color=Red\r\nBackColor=Blue\r\nWidth=300\r\n");
  ReportWindow& form = Open("");
  EXPECT_EQ(form.geometry(), QRect(0, 0, 1024, 768));
  const QTextBlock first = form.Report().document()->firstBlock();
  EXPECT_EQ(first.text().toStdString(), " [Press 'ESC' key to exit]");
  const QTextCharFormat format = first.begin().fragment().charFormat();
  EXPECT_EQ(format.foreground().color(), QColor(Qt::white));
  // Whichever font the machine gives for it: every letter as wide as the next.
  const QFont font = format.font();
  const QFontMetricsF letters(font);
  EXPECT_TRUE(QFontInfo(font).fixedPitch()) << QFontInfo(font).family().toStdString();
  EXPECT_EQ(letters.horizontalAdvance(QLatin1Char('i')), letters.horizontalAdvance(QLatin1Char('W')))
      << QFontInfo(font).family().toStdString();
  EXPECT_DOUBLE_EQ(font.pointSizeF(), 10);
  ShowAndActivate();
  // On the screen, white on the blue background and nothing in red.
  const Ink white = InkOf(form.Report().grab().toImage(), 0xFFFFFF, 0xFF0000);
  EXPECT_GT(white.amount, 200);
  EXPECT_EQ(white.strayPixels, 0);
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
  const int page = scroll.pageStep(), line = scroll.singleStep();
  for (auto [key, value] : {std::pair{Qt::Key_Right, page}, {Qt::Key_Right, 2 * page}, {Qt::Key_Left, page},
                            {Qt::Key_Down, page + line}, {Qt::Key_Up, page}, {Qt::Key_Up, page - line}}) {
    PressKey(form.Report(), key);
    EXPECT_EQ(scroll.value(), value) << key;
  }
  EXPECT_TRUE(form.isVisible());
}

TEST_F(ReportWindowTest, EscapeOrAmpersandCloseAndWriteAMissingZorvInfOnly) {
  for (auto [key, text] : {std::pair{Qt::Key_Escape, QStringLiteral("\x1b")}, {Qt::Key_Ampersand, QStringLiteral("&")}}) {
    std::filesystem::remove(collection.Path() / "Zorv.inf");
    ReportWindow& form = Open("gng");
    ShowAndActivate();
    PressKey(form.Report(), key, text);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.IsClosing());
    const std::string written = collection.Read("Zorv.inf");
    EXPECT_TRUE(written.starts_with("IndexPath=")) << written;
    EXPECT_NE(written.find("\r\nWidth=1024\r\nHeight=768\r\nFont=Arial\r\nSize=10\r\nColor=Green\r\n"), std::string::npos);
  }
  const std::string mine = "Width=640\r\nHeight=480\r\nmy own line\r\n";
  collection.Write("Zorv.inf", mine);
  ReportWindow& form = Open("gng");
  ShowAndActivate();
  PressKey(form, Qt::Key_Escape, QStringLiteral("\x1b"));
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(collection.Read("Zorv.inf"), mine);
}

TEST_F(ReportWindowTest, BadSettingsAndBrokenTemplatesStillOpenWithWhatCouldBeRead) {
  const struct {
    std::string zorvInf;
    std::string templateRtf;  // Zorv.rtf; empty: the built-in one
    std::string shownText;    // a piece of the text the window must show
    std::string logLine;      // a line the log must hold; empty: no log
  } rows[] = {
      {std::string("\x01\xff\xfe=\x80===\r\n\r\n=\r\nWidth\r\n\x7f\x00zz\r\n", 28), "", "Ghosts'n Goblins", ""},
      {"Width=1e300\r\nHeight=&H7FFFFFFF\r\n", "", "Ghosts'n Goblins", ""},
      {"Width=-500\r\nHeight=0\r\n", "", "Ghosts'n Goblins", ""},
      {"Color=purple\r\nBackColor=plaid\r\nFont=No Such Font At All\r\n", "", "Ghosts'n Goblins", ""},
      // Twice the size overflows a 32-bit number: the rest of the settings are skipped.
      {"Size=2e9\r\nWidth=800\r\n", "", "Ghosts'n Goblins", "ERROR E - 6"},
      {"", "Plain words for #TITLE.\r\n", "Plain words for Ghosts'n Goblins.", ""},
      {"", "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\b\\fs99999 #TITLE \\'zz\\u", "Ghosts'n Goblins", ""},
      {"", "{\\rtf1}}}}{{{", "", ""},
      // Ten megabytes without a break point: shown at once, not after minutes of line layout.
      {"", "{\\rtf1 #TITLE " + std::string(10'000'000, 'x') + "}", "Ghosts'n Goblins", ""},
  };
  for (const auto& row : rows) {
    std::filesystem::remove(collection.Path() / "Zorv.Log.txt");
    collection.Write("Zorv.inf", row.zorvInf);
    std::filesystem::remove(collection.Path() / "Zorv.rtf");
    if (!row.templateRtf.empty()) collection.Write("Zorv.rtf", row.templateRtf);
    ReportWindow& form = Open("gng");
    ShowAndActivate();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.width() >= 1 && form.width() <= 1024 && form.height() <= 768) << form.width() << "x" << form.height();
    const std::string shown = form.Report().document()->toPlainText().toStdString();
    EXPECT_NE(shown.find(row.shownText), std::string::npos) << shown;
    const std::string log = collection.Exists("Zorv.Log.txt") ? collection.Read("Zorv.Log.txt") : "";
    EXPECT_TRUE(row.logLine.empty() ? log.empty() : log.find(row.logLine) != std::string::npos) << log;
    PressKey(form.Report(), Qt::Key_Escape, QStringLiteral("\x1b"));
    EXPECT_FALSE(form.isVisible());
  }
}

// A picture source that gives each loaded file a 40 x 30 magenta PNG picture.
class ColouredPictures final : public PictureSource {
 public:
  explicit ColouredPictures(std::function<void(const std::string&)> onLoad) : onLoad_(std::move(onLoad)) {}
  void LoadPictureFile(const std::string& path) override {
    loaded.push_back(path);
    if (onLoad_) onLoad_(path);
  }
  std::string PictureToRtf() override {
    const std::string png = Encoded(40, 30, QColor(255, 0, 255), "PNG");
    richtext::Picture picture;
    picture.kind = richtext::BlipKind::Png, picture.width = 40, picture.height = 30;
    picture.goalWidth = 600, picture.goalHeight = 450, picture.data.assign(png.begin(), png.end());
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
    std::string inf = "SavePath=" + collection.Str() + "/saved/\r\nWidth=800\r\nHeight=600\r\n";
    for (const char* folder : {"Titles", "Snap", "Marquees", "Cabinets", "Cpanel", "Flyers"}) {
      collection.Write(std::string("pictures/") + folder + "/gng.png", "not read by the test source");
      inf += std::string(folder) + "Path=" + collection.Str() + "/pictures/" + folder + "/\r\n";
    }
    collection.Write("Zorv.inf", inf);
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
  EXPECT_NE(collection.Read("saved/ZRV_gng.rtf").find("\\pngblip"), std::string::npos);
  QEvent activate(QEvent::WindowActivate);
  QCoreApplication::sendEvent(&form, &activate);
  EXPECT_EQ(pictures->loaded.size(), 5u) << "later activations load nothing again";
  // Scroll to the pictures at the report's end: they show in their colour.
  form.Report().verticalScrollBar()->setValue(form.Report().verticalScrollBar()->maximum());
  EXPECT_GT(PixelsOfColour(form.Report().grab().toImage(), 0xFF00FF), 40 * 30);
}

TEST_F(PictureWindowTest, WhereTheUserScrolledWhilePicturesLoadedStays) {
  collection.Write("notes.txt", LongNotes());
  int reached = 0;
  ReportWindow& form = Open("gng", Source([&](const std::string&) {
                              if (reached > 0) return;
                              // While the pictures load, the user reads on to the report's end.
                              RunEventsUntil([] { return false; }, 300);
                              QScrollBar& scroll = *window->Report().verticalScrollBar();
                              scroll.triggerAction(QAbstractSlider::SliderToMaximum);
                              reached = scroll.value();
                            }));
  ShowAndActivate();
  ASSERT_EQ(ImagesIn(*form.Report().document()), 6);
  ASSERT_GT(reached, 0);
  EXPECT_TRUE(RunEventsUntil([&] { return form.Report().verticalScrollBar()->value() == reached; }))
      << form.Report().verticalScrollBar()->value() << " instead of " << reached;
}

TEST_F(PictureWindowTest, ClosingWhilePicturesLoadStopsCleanly) {
  ReportWindow& form = Open("gng", Source([this](const std::string&) {
                              // The user presses Esc while the first picture loads.
                              QCoreApplication::postEvent(&window->Report(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
                            }));
  form.show();
  ASSERT_TRUE(RunEventsUntil([&] { return form.IsClosing(); }));
  RunEventsUntil([] { return false; }, 100);
  EXPECT_EQ(pictures->loaded.size(), 1u);
  EXPECT_FALSE(form.Form().AlreadyActivated());
  EXPECT_FALSE(collection.Exists("saved/ZRV_gng.rtf"));
  EXPECT_EQ(ImagesIn(*form.Report().document()), 0);

  bool deleted = false;
  ReportWindow* target = nullptr;
  Open("gng", Source([&](const std::string&) {
         if (!deleted) delete target;  // what a platform teardown would do between two pictures
         deleted = true;
       }));
  target = window.release();
  target->show();
  EXPECT_TRUE(RunEventsUntil([&] { return deleted; }));
  RunEventsUntil([] { return false; }, 100);
  EXPECT_FALSE(collection.Exists("saved/ZRV_gng.rtf"));
}

}  // namespace
}  // namespace zorv::testing
