#include "startup/startup.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "startup/error_log.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

using testing::TempFolder;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", from)) {
    lines.push_back(text.substr(from, at - from));
    from = at + 2;
  }
  return lines;
}

struct StartupTest : ::testing::Test {
  TempFolder dir;
  SharedState state;
  void SetUp() override { state.ProgramFolder = dir.Str(); }
  StartupOutcome Run(const std::string& command) { return Main(state, command); }
  std::vector<std::string> LogLines() { return Lines(dir.Read("Zorv.Log.txt")); }
};

TEST_F(StartupTest, EmptyCommandGivesTheUsageSheetAfterReadingTheConfiguration) {
  dir.Write("Zorv.inf", "Language=0\r\n");
  EXPECT_EQ(Run("  "), StartupOutcome::UsageSheet);
  EXPECT_EQ(state.Language, 0);
  EXPECT_FALSE(dir.Exists("Zorv.Log.txt"));
  SharedState english;
  english.ProgramFolder = TempFolder().Str();
  EXPECT_EQ(Main(english, ""), StartupOutcome::UsageSheet);
  EXPECT_EQ(english.Language, 1);
}

TEST_F(StartupTest, EachSilentStopLeavesItsLogLineUnderOneRunHeader) {
  EXPECT_EQ(Run("/noimage"), StartupOutcome::SilentStop);
  EXPECT_EQ(Run("gng"), StartupOutcome::SilentStop);  // no index anywhere
  dir.Write("index", "gng;Bx;\r\n");
  EXPECT_EQ(Run("pacman"), StartupOutcome::SilentStop);
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(.+ - .+)"))) << lines[0];
  EXPECT_EQ(lines[1],
            "Rom name is empty. Please Type : ZORV.EXE Romname [/noimage /notitle /noflyer /nomarquee /nosnap "
            "/nocabinet /nocpanel /center /defaultrtf]");
  EXPECT_EQ(lines[2], "Can't find the index. file. Please use Quorbis to create it. [END]");
  EXPECT_EQ(lines[3], "Can't find the rom 'pacman' into the index. file.");

  SharedState nextRun;
  nextRun.ProgramFolder = dir.Str();
  WriteLog(nextRun, "again");
  EXPECT_EQ(LogLines().size(), 6u);  // a new run writes a new header
}

TEST_F(StartupTest, IndexIsLookedForAtItsThreePlaces) {
  dir.Write("index", "gng;Bprogram folder;\r\n");
  EXPECT_EQ(Run("gng"), StartupOutcome::GameSheet);
  EXPECT_EQ(state.GameTitle, "program folder");
  dir.Write("datafiles/index", "gng;Bdata folder;\r\n");
  state = SharedState{};
  state.ProgramFolder = dir.Str();
  Run("gng");
  EXPECT_EQ(state.GameTitle, "data folder");
  dir.Write("elsewhere/my.idx", "gng;Bconfigured;\r\n");
  dir.Write("zorv.inf", "IndexPath=" + dir.Str() + "\\elsewhere\\my.idx\r\n");
  state = SharedState{};
  state.ProgramFolder = dir.Str();
  Run("gng");
  EXPECT_EQ(state.GameTitle, "configured");
}

TEST_F(StartupTest, TrappedFailuresLogTheirLetter) {
  dir.Write("index", "gng;Bno semicolon after the title\r\n");
  dir.Write("quorbis.inf", "Language=1e20\r\n");
  EXPECT_EQ(Run("gng"), StartupOutcome::SilentStop);
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "ERROR A - 6");
  EXPECT_EQ(lines[2], "ERROR B - 5");
}

TEST_F(StartupTest, GathersTheWholeGameAndItsPictures) {
  const std::string history = "$info=gng\r\n$bio\r\nHistory text.\r\n$end\r\n";
  const std::string mameinfo = "$info=gng\r\n$mame\r\n0.1\r\n$end\r\n";
  dir.Write("datafiles/history.dat", history);
  dir.Write("datafiles/mameinfo.dat", mameinfo);
  dir.Write("datafiles/index", "gng;BGhosts;S;C1;Q1," + std::to_string(history.size()) + ";U1," +
                                   std::to_string(mameinfo.size()) + "*\r\n[Manufacturer]\r\nCapcom\r\n");
  dir.Write("notes.txt", "[gng]\r\nMine.\r\n");
  dir.Write("pics/snap/gng.jpg", "");
  dir.Write("pics/snap/gng.png", "");
  dir.Write("pics/titles/gng.gif", "");
  dir.Write("Zorv.inf", "SnapPath=" + dir.Str() + "\\pics\\snap\r\nTitlesPath=" + dir.Str() + "/PICS/Titles\r\n");
  EXPECT_EQ(Run("gng.zip /nosnap"), StartupOutcome::GameSheet);
  EXPECT_EQ(state.RomKey, "gng;");
  EXPECT_EQ(state.GameTitle, "Ghosts");
  EXPECT_EQ(state.Manufacturer, "Capcom");
  EXPECT_EQ(state.HistoryText, "History text.");
  EXPECT_EQ(state.MameinfoText, "MAME v0.1");
  EXPECT_TRUE(state.RomAvailable);
  EXPECT_EQ(state.NotesText, "Mine.");
  EXPECT_EQ(state.ImagePath[1], dir.Str() + "/PICS/Titles\\gng.gif");
  EXPECT_EQ(state.ImagePath[2], dir.Str() + "\\pics\\snap\\gng.png");  // .png before .jpg; switches play no part
  EXPECT_EQ(state.ImagePath[3], "");
  EXPECT_TRUE(state.NoSnap);
  EXPECT_FALSE(dir.Exists("Zorv.Log.txt"));
}

}  // namespace
}  // namespace zorv
