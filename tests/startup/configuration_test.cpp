#include "startup/configuration.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace zorv {
namespace {

using testing::TempFolder;

struct ConfigurationTest : ::testing::Test {
  TempFolder dir;
  SharedState state;
  void SetUp() override { state.ProgramFolder = dir.Str(); }
};

TEST_F(ConfigurationTest, DefaultsComeFirstAndQuorbisInfOverridesThem) {
  state.SavePath = "leftover";
  LoadSiblingConfig(state);
  EXPECT_EQ(state.IndexPath, dir.Str() + "\\datafiles\\index.");
  EXPECT_EQ(state.HistoryPath, dir.Str() + "\\datafiles\\history.dat");
  EXPECT_EQ(state.MameinfoPath, dir.Str() + "\\datafiles\\mameinfo.dat");
  EXPECT_EQ(state.ImagePath[1], "c:\\mame\\titles\\");
  EXPECT_EQ(state.ImagePath[6], "c:\\mame\\flyers\\");
  EXPECT_EQ(state.SavePath, "");

  dir.Write("Quorbis.INF",
            "junk line\r\nDataFile2=h.dat\r\n datafile3 =m.dat=ignored\r\nTitlesPath=t\r\nOther=1\r\nlanguage= 0\r\n");
  LoadSiblingConfig(state);
  EXPECT_EQ(state.HistoryPath, "h.dat");
  EXPECT_EQ(state.MameinfoPath, "m.dat");
  EXPECT_EQ(state.ImagePath[1], "t");  // no "\" added here
  EXPECT_EQ(state.Language, 0);
}

TEST_F(ConfigurationTest, QuorbisInfStopsAfterNineRecognisedLinesRepeatsIncluded) {
  std::string text;
  for (int i = 0; i < 8; ++i) text += "SnapPath=s" + std::to_string(i) + "\r\n";
  text += "unknown=1\r\nFlyersPath=f\r\nLanguage=0\r\n";
  dir.Write("quorbis.inf", text);
  state.Language = -1;
  LoadSiblingConfig(state);
  EXPECT_EQ(state.ImagePath[2], "s7");
  EXPECT_EQ(state.ImagePath[6], "f");
  EXPECT_EQ(state.Language, -1);  // the tenth recognised line is never read
}

TEST_F(ConfigurationTest, ZorvInfPathKeys) {
  dir.Write("zorv.inf",
            "HistoryPath=c:\\dats\\\r\n"
            "MameinfoPath=c:\\dats\\mi.dat\r\n"
            "IndexPath=\\x\\\r\n"
            "TitlesPath=c:\\titles\r\n"
            "SnapPath=\r\n"
            "SavePath=\r\n"
            " language = english \r\n"
            "IndexPath=c:\\later\\\r\n");
  LoadConfig(state);
  EXPECT_EQ(state.HistoryPath, "c:\\dats\\history.dat");
  EXPECT_EQ(state.MameinfoPath, "c:\\dats\\mi.dat");
  EXPECT_EQ(state.IndexPath, "c:\\later\\index.");
  EXPECT_EQ(state.ImagePath[1], "c:\\titles\\");
  EXPECT_EQ(state.ImagePath[2], "\\");
  EXPECT_EQ(state.SavePath, "\\");
  EXPECT_EQ(state.Language, 1);
}

TEST_F(ConfigurationTest, LanguageValues) {
  const struct {
    const char* line;
    int language;
  } cases[] = {{"LANGUAGE=0", 0}, {"Language=FRENCH", 0}, {"Language=1", 1}, {"language = English ", 1},
               {"Language=2.5", 2}, {"Language=&H10", 16}};
  for (const auto& c : cases) {
    dir.Write("Zorv.inf", std::string(c.line) + "\r\n");
    state.Language = -1;
    LoadConfig(state);
    EXPECT_EQ(state.Language, c.language) << c.line;
  }
}

TEST_F(ConfigurationTest, SaveConfigWritesTheSeventeenLines) {
  state.IndexPath = "i";
  state.HistoryPath = "h";
  state.MameinfoPath = "m";
  state.ImagePath = {"", "c:\\t\\gng.png", "", "c:\\m\\", "nofolder", "c:\\c\\x.gif", "c:\\f\\gng.jpg"};
  state.SavePath = "c:\\save\\";
  state.Language = 0;
  state.FontName = "Arial";
  state.FontSize = 21;
  state.ForeColor = 0x00FF00;
  state.BackColor = 0x123456;
  ScreenMetrics screen;
  screen.WidthTwips = 1024 * 15;
  screen.HeightTwips = 768 * 15;
  SaveConfig(state, screen);
  EXPECT_EQ(dir.Read("Zorv.inf"),
            "IndexPath=i\r\nHistoryPath=h\r\nMameinfoPath=m\r\nTitlesPath=c:\\t\\\r\nSnapPath=\r\n"
            "MarqueesPath=c:\\m\\\r\nCabinetsPath=nofolder\r\nCpanelPath=c:\\c\\\r\nFlyersPath=c:\\f\\\r\n"
            "SavePath=c:\\save\\\r\nLanguage=0\r\nWidth=1024\r\nHeight=768\r\nFont=Arial\r\nSize=10.5\r\n"
            "Color=Green\r\nBackColor=\r\n");
  state.SavePath.clear();
  state.FontSize = 20;
  EXPECT_EQ(ConfigText(state, screen).find("SavePath"), std::string::npos);
  EXPECT_NE(ConfigText(state, screen).find("\r\nSize=10\r\n"), std::string::npos);
}

TEST(ConfigurationHelpers, FolderOfAndTrailingBackslashAndColourNames) {
  EXPECT_EQ(AddTrailingBackslash(""), "\\");
  EXPECT_EQ(AddTrailingBackslash("a\\"), "a\\");
  EXPECT_EQ(AddTrailingBackslash("a"), "a\\");
  EXPECT_EQ(FolderOf("c:\\a\\b.png"), "c:\\a\\");
  EXPECT_EQ(FolderOf("b.png"), "b.png");
  EXPECT_EQ(FolderOf(""), "");
  const struct {
    const char* name;
    Colour colour;
  } colours[] = {{"WHITE", 0xFFFFFF}, {" black ", 0}, {"red", 0x0000FF}, {"Green", 0x00FF00}, {"BLUE", 0xFF0000},
                 {"cyan", 0xFFFF00}, {"MAGENTA", 0xFF00FF}, {"yellow", 0x00FFFF}, {"purple", 0}, {"", 0}};
  for (const auto& c : colours) {
    EXPECT_EQ(ColorFromName(c.name), c.colour) << c.name;
    EXPECT_EQ(ColorFromName(ColorName(c.colour)), c.colour) << c.name;
  }
  EXPECT_EQ(ColorName(0x010203), "");
}

}  // namespace
}  // namespace zorv
