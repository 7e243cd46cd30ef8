#include "window/display_settings.h"

#include <gtest/gtest.h>

#include "startup/center_form.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

using testing::TempFolder;

ScreenMetrics Screen(int width, int height) {
  ScreenMetrics screen;
  screen.WidthTwips = width * 15;
  screen.HeightTwips = height * 15;
  return screen;
}

struct DisplayTest : ::testing::Test {
  TempFolder dir;
  SharedState state;
  void SetUp() override { state.ProgramFolder = dir.Str(); }
  WindowLayout Read(const std::string& inf, ScreenMetrics screen = Screen(1024, 768)) {
    dir.Write("Zorv.inf", inf);
    return ReadDisplaySettings(state, screen);
  }
};

TEST_F(DisplayTest, WithoutZorvInfTheWindowCoversTheScreen) {
  const WindowLayout layout = ReadDisplaySettings(state, Screen(1024, 768));
  EXPECT_DOUBLE_EQ(layout.Width, 15360);
  EXPECT_DOUBLE_EQ(layout.Height, 11520);
  EXPECT_DOUBLE_EQ(layout.ReportLeft, 100);
  EXPECT_DOUBLE_EQ(layout.ReportTop, 100);
  EXPECT_DOUBLE_EQ(layout.ReportWidth, 15160);
  EXPECT_DOUBLE_EQ(layout.ReportHeight, 11320);
  EXPECT_EQ(state.FontName, "Arial");
  EXPECT_EQ(state.FontSize, 20);
  EXPECT_EQ(state.ForeColor, 0x00FF00);
  EXPECT_EQ(state.BackColor, 0);
}

TEST_F(DisplayTest, DisplayKeysAndFlagWords) {
  const WindowLayout layout = Read(
      "width = 800 \r\nHeight=600\r\nFont= Courier New\r\nSize=10.5\r\nColor=purple\r\nBackColor= white \r\n"
      "center\r\nNoCabinets\r\n  noSnap \r\nCenter=1\r\n");
  EXPECT_DOUBLE_EQ(layout.Width, 12000);
  EXPECT_DOUBLE_EQ(layout.Height, 9000);
  EXPECT_EQ(state.FontName, " Courier New");
  EXPECT_EQ(state.FontSize, 21);
  EXPECT_EQ(state.ForeColor, 0);
  EXPECT_EQ(state.BackColor, 0xFFFFFF);
  EXPECT_TRUE(state.Center);
  EXPECT_TRUE(state.NoSnap);
  EXPECT_FALSE(state.NoCabinet);
}

TEST_F(DisplayTest, SmallWindowKeepsTheReportsDesignPlace) {
  const WindowLayout layout = Read("Width=40\r\nHeight=30\r\nSize=x\r\n");
  EXPECT_DOUBLE_EQ(layout.Width, 600);
  EXPECT_DOUBLE_EQ(layout.ReportLeft, 0);
  EXPECT_DOUBLE_EQ(layout.ReportWidth, 7935);
  EXPECT_DOUBLE_EQ(layout.ReportHeight, 6015);
  EXPECT_EQ(state.FontSize, 0);
}

TEST_F(DisplayTest, UsageSheetIgnoresTheSizeKeys) {
  state.ShowUsage = true;
  const WindowLayout layout = Read("Width=800\r\nColor=red\r\n");
  EXPECT_DOUBLE_EQ(layout.Width, 15360);
  EXPECT_EQ(state.ForeColor, 0x0000FF);
}

TEST_F(DisplayTest, FailureIsLoggedAsEAndLeavesPixelCountsAsTwips) {
  const WindowLayout layout = Read("Width=800\r\nSize=2e9\r\nColor=red\r\n");
  EXPECT_DOUBLE_EQ(layout.Width, 800);
  EXPECT_DOUBLE_EQ(layout.Height, 768);
  EXPECT_DOUBLE_EQ(layout.ReportWidth, 7935);
  EXPECT_EQ(state.ForeColor, 0x00FF00);
  EXPECT_NE(dir.Read("Zorv.Log.txt").find("\r\nERROR E - 6\r\n"), std::string::npos);
}

TEST_F(DisplayTest, DefaultRtfWritesTheTemplateWithBuiltInFontValues) {
  state.DefaultRtf = true;
  state.Language = 1;
  Read("Font=Verdana\r\nSize=12\r\n");
  EXPECT_NE(dir.Read("Zorv.rtf").find("Arial;}}"), std::string::npos);
  EXPECT_NE(dir.Read("Zorv.rtf").find("\\fs28 #TITLE\\par \\b0\\fs20\\par "), std::string::npos);
  EXPECT_EQ(state.FontName, "Verdana");
  EXPECT_EQ(state.FontSize, 24);
}

TEST(CenterForm, PlacesTheWindowAbovetheMiddle) {
  const WindowPosition p = CenterForm(Screen(1024, 768), 12000, 9000);
  EXPECT_EQ(p.Left, 1680);
  EXPECT_EQ(p.Top, 684);
  const WindowPosition big = CenterForm(Screen(800, 600), 30000, 30000);
  EXPECT_EQ(big.Left, 0);
  EXPECT_EQ(big.Top, 0);
}

}  // namespace
}  // namespace zorv
