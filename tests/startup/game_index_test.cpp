#include "startup/game_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace zorv {
namespace {

using testing::TempFolder;

// Thirteen lists of three values each: "<list number>-<line number>".
std::string Lists(bool withHeader = true) {
  std::string text = withHeader ? "[Manufacturer]\r\n" : "";
  for (int list = 1; list <= 13; ++list) {
    if (list > 1) text += "[List " + std::to_string(list) + "]\r\n";
    for (int line = 1; line <= 3; ++line) text += std::to_string(list) + "-" + std::to_string(line) + "\r\n";
  }
  return text;
}

constexpr const char* kFull = "gng;BGhosts'n Goblins;Sgng#CL;C1;D2;E3;F1;G2;H3;I1;J2;K3;M1;N2;O3;V1;R1;L0;P1;Q0,0;U0,0";

struct IndexTest : ::testing::Test {
  TempFolder dir;
  SharedState state;
  void SetUp() override { state.ProgramFolder = dir.Str(); }

  void Read(const std::string& records, const std::string& romKey, const std::string& lists = Lists()) {
    dir.Write("index", records + lists);
    TextFileReader index = FindGameRecord(dir.Str() + "\\INDEX.", romKey, state);
    if (!state.GameRecord.empty()) ReadGameFields(index, state);
  }
};

TEST_F(IndexTest, TakesEveryFieldOfTheRecord) {
  Read(std::string("gngb;Bwrong;\r\n") + kFull + "\r\nzzz;B;\r\n", "gng;");
  EXPECT_EQ(state.GameRecord, kFull);
  EXPECT_EQ(state.GameTitle, "Ghosts'n Goblins");
  EXPECT_EQ(state.CloneOf, "gng");
  const std::vector<std::string> got = {state.Manufacturer, state.Year,     state.Orientation,  state.Buttons,
                                        state.Controls,     state.DriverStatus, state.Genre,    state.Category,
                                        state.VersionAdded, state.Driver,   state.Players,      state.SaveState};
  const std::vector<std::string> expected = {"1-1", "2-2", "3-3", "4-1", "5-2", "6-3",
                                             "7-1", "8-2", "9-3", "11-2", "12-3", "13-1"};
  EXPECT_EQ(got, expected);
  EXPECT_TRUE(state.HasCheat);
  EXPECT_TRUE(state.IsMature);  // "0" is not "#"
  EXPECT_TRUE(state.HasHighscore);
}

TEST_F(IndexTest, MatchesWholeNamesExactlyAndTheFirstRecordWins) {
  const std::string records = "gngb;Bb;\r\nGNG;Bupper;\r\ngng;Bfirst;\r\ngng;Bsecond;\r\n";
  Read(records, "gng;");
  EXPECT_EQ(state.GameTitle, "first");
  SharedState other;
  dir.Write("index", records + Lists());
  FindGameRecord(dir.Str() + "/index", "Gng;", other);
  EXPECT_EQ(other.GameRecord, "");
}

TEST_F(IndexTest, RecordInTheLastLineStillReadsTheLists) {
  Read("a;Ba;C3\r\ngng;Bg;C2;D1\r\n", "gng;");
  EXPECT_EQ(state.Manufacturer, "1-2");
  EXPECT_EQ(state.Year, "2-1");
}

TEST_F(IndexTest, ListFieldsEdgeCases) {
  const struct {
    const char* record;
    const char* manufacturer;
    const char* year;
    const char* orientation;
  } cases[] = {
      {"gng;Bg;C0;D1;E1", "", "2-1", "3-1"},         // 0 is no value; the list is still passed over
      {"gng;Bg;D1;E1", "", "1-1", "2-1"},            // no C: D reads the manufacturers list
      {"gng;Bg;C9;D1;E1", "", "2-1", "3-1"},         // shorter list than asked
      {"gng;Bg;C4;D1;E1", "[List 2]", "2-1", "3-1"},  // the header line itself is taken, and still ends list 1
      {"gng;Bg;C-1;D 2;E1", "", "2-2", "3-1"},
      {"gng;Bg;C1.5;D2.5;E1", "1-2", "2-2", "3-1"},  // halves to even
  };
  for (const auto& c : cases) {
    state = SharedState{};
    state.ProgramFolder = dir.Str();
    Read(std::string(c.record) + "\r\n", "gng;");
    EXPECT_EQ(state.Manufacturer, c.manufacturer) << c.record;
    EXPECT_EQ(state.Year, c.year) << c.record;
    EXPECT_EQ(state.Orientation, c.orientation) << c.record;
  }
}

TEST_F(IndexTest, WithoutListsEveryListFieldIsEmpty) {
  Read("gng;Bg;C1;D1\r\n", "gng;", "");
  EXPECT_EQ(state.Manufacturer, "");
  EXPECT_EQ(state.Year, "");
}

TEST_F(IndexTest, TooLargeListNumberIsLoggedAsDAndLeavesTheFieldEmpty) {
  Read("gng;Bg;C99999999999;D1\r\n", "gng;");
  EXPECT_EQ(state.Manufacturer, "");
  EXPECT_EQ(state.Year, "1-1");  // nothing was read for C, so D reads the first list
  const std::string log = dir.Read("Zorv.Log.txt");
  EXPECT_NE(log.find("\r\nERROR D - 6\r\n"), std::string::npos) << log;
}

TEST_F(IndexTest, TextAndFlagFields) {
  const struct {
    const char* record;
    const char* title;
    const char* clone;
    bool cheat, mature, highscore;
  } cases[] = {
      {"gng;Bt;S#CL#CL;R0;L#;P0", "t", "", false, false, false},
      {"gng;Bt;Sab#clc;R1;LX;P1", "t", "ab#clc", true, true, true},
      {"gng;Bt;S;", "t", "", false, true, false},            // no R, L, P: the record's second character, "n"
      {"g1;Bt;S;R", "t", "", false, true, true},             // R empty; L and P read the second character "1"
  };
  for (const auto& c : cases) {
    state = SharedState{};
    state.ProgramFolder = dir.Str();
    const std::string record = c.record;
    Read(record + "\r\n", record.substr(0, record.find(';') + 1));
    EXPECT_EQ(state.GameTitle, c.title) << c.record;
    EXPECT_EQ(state.CloneOf, c.clone) << c.record;
    EXPECT_EQ(state.HasCheat, c.cheat) << c.record;
    EXPECT_EQ(state.IsMature, c.mature) << c.record;
    EXPECT_EQ(state.HasHighscore, c.highscore) << c.record;
  }
}

}  // namespace
}  // namespace zorv
