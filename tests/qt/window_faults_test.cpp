// Bad settings and broken templates: the window still opens with what could be
// read, the log says what failed, and nothing crashes.
#include <QTextDocument>

#include "window_fixture.h"

namespace zorv::testing {
namespace {

struct FaultCase {
  const char* name;
  std::string zorvInf;
  std::string templateRtf;  // Zorv.rtf; empty: the built-in one
  std::string shownText;    // a piece of the text the window must show
  std::string logLine;      // a line the log must hold; empty: no log
  friend void PrintTo(const FaultCase& test, std::ostream* out) { *out << test.name; }
};

class WindowFaultTest : public WindowTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(WindowFaultTest, OpensWithWhatCouldBeRead) {
  const FaultCase& fault = GetParam();
  collection.Write("Zorv.inf", fault.zorvInf);
  if (!fault.templateRtf.empty()) collection.Write("Zorv.rtf", fault.templateRtf);
  ReportWindow& form = Open("gng");
  ShowAndActivate();
  EXPECT_TRUE(form.isVisible());
  EXPECT_GE(form.width(), 1);
  EXPECT_LE(form.width(), 1024);
  EXPECT_LE(form.height(), 768);
  const std::string shown = form.Report().document()->toPlainText().toStdString();
  EXPECT_NE(shown.find(fault.shownText), std::string::npos) << shown;
  const std::string log = collection.Read("Zorv.Log.txt");
  if (fault.logLine.empty()) {
    EXPECT_EQ(log, "");
  } else {
    EXPECT_NE(log.find(fault.logLine), std::string::npos) << log;
  }
  PressKey(form.Report(), Qt::Key_Escape, QStringLiteral("\x1b"));
  EXPECT_FALSE(form.isVisible());
}

const std::string kJunk = std::string("\x01\xff\xfe=\x80===\r\n\r\n=\r\nWidth\r\n\x7f\x00zz\r\n", 28);

INSTANTIATE_TEST_SUITE_P(
    Faults, WindowFaultTest,
    ::testing::Values(
        FaultCase{"Junk", kJunk, "", "Ghosts'n Goblins", ""},
        FaultCase{"HugeSizes", "Width=1e300\r\nHeight=&H7FFFFFFF\r\n", "", "Ghosts'n Goblins", ""},
        FaultCase{"NegativeAndZeroSizes", "Width=-500\r\nHeight=0\r\n", "", "Ghosts'n Goblins", ""},
        FaultCase{"UnknownColoursAndFont", "Color=purple\r\nBackColor=plaid\r\nFont=No Such Font At All\r\n", "",
                  "Ghosts'n Goblins", ""},
        // Twice the size overflows a 32-bit number: the rest of the settings are skipped.
        FaultCase{"FontSizeOverflows", "Size=2e9\r\nWidth=800\r\n", "", "Ghosts'n Goblins", "ERROR E - 6"},
        FaultCase{"TemplateNotRtf", "", "Plain words for #TITLE.\r\n", "Plain words for Ghosts'n Goblins.", ""},
        FaultCase{"TemplateBrokenRtf", "", "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\b\\fs99999 #TITLE \\'zz\\u",
                  "Ghosts'n Goblins", ""},
        FaultCase{"TemplateOnlyBraces", "", "{\\rtf1}}}}{{{", "", ""},
        // Ten megabytes without a break point: shown at once, not after minutes of line layout.
        FaultCase{"TenMegabyteLine", "", "{\\rtf1 #TITLE " + std::string(10'000'000, 'x') + "}", "Ghosts'n Goblins", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, ColoursThatAreNoColourGiveBlackOnBlack) {
  collection.Write("Zorv.inf", "Color=purple\r\nBackColor=\r\nWidth=400\r\nHeight=300\r\n");
  ReportWindow& form = Open("gng");
  ShowAndActivate();
  const QImage view = form.Report().grab().toImage();
  EXPECT_EQ(PixelsOfColour(view, 0x000000), view.width() * view.height());
}

}  // namespace
}  // namespace zorv::testing
