#include "startup/data_entries.h"

#include <gtest/gtest.h>

#include "platform/run_time_error.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

using testing::TempFolder;

const std::string kHistory =
    "$info=aaa,\r\n$bio\r\n\r\nFirst game.\r\n\r\n- TRIVIA -\r\n\r\nFun.\r\n$end\r\n"
    "$info=gng,gnga,\r\n$bio\r\n\r\nGhosts.\r\n$end\r\n";
const std::string kMameinfo =
    "$info=gng\r\n$mame\r\n0.37b5\r\n\r\nNotes.\r\n$end\r\n$info=x\r\n$mame\r\n0.1\r\n$end\r\n";

struct DataEntriesTest : ::testing::Test {
  TempFolder dir;
  SharedState state;
  void SetUp() override {
    state.ProgramFolder = dir.Str();
    dir.Write("h.dat", kHistory);
    dir.Write("m.dat", kMameinfo);
    state.HistoryPath = dir.Str() + "\\h.dat";
    state.MameinfoPath = dir.Str() + "\\m.dat";
  }
  static std::string Ref(std::size_t offset, std::size_t length) {
    return std::to_string(offset) + "," + std::to_string(length);
  }
};

TEST_F(DataEntriesTest, HistoryIsCutAfterBioAndBeforeTheFirstEnd) {
  const std::size_t second = kHistory.find("$info=gng") + 1;
  const struct {
    std::string reference;
    std::string text;
  } cases[] = {
      {"Q1," + std::to_string(kHistory.size()) + ";", "\r\nFirst game.\r\n\r\n- TRIVIA -\r\n\r\nFun."},
      {"Q" + Ref(second, kHistory.size() - second + 1) + ";U", "\r\nGhosts."},
      {"Q" + Ref(second, 20) + ";", "$info=gng,gnga,\r\n$bi"},  // no whole "$bio", no "$end": all of it
      {"Q0,50;", ""},                                           // offset 0: no history
      {"Q" + std::to_string(second) + ",#;", ""},               // "#": nothing read
      {"Q5;", ""},                                              // no ",": no history
      {"Q" + Ref(kHistory.find("\r\nGhosts") + 1, 9) + ";", "\r\nGhosts."},  // no "$bio"
  };
  for (const auto& c : cases) {
    state.GameRecord = "gng;Bx;" + c.reference;
    state.HistoryText.clear();
    ReadHistory(state);
    EXPECT_EQ(state.HistoryText, c.text) << c.reference;
  }
}

TEST_F(DataEntriesTest, MameinfoRunsToTheLastEndAndSetsRomAvailable) {
  const std::size_t second = kMameinfo.find("$info=x") + 1;
  const struct {
    std::string reference;
    std::string text;
    bool available;
  } cases[] = {
      {"U1,40*", "MAME v0.37b5\r\n\r\nNotes.", true},
      {"U1," + std::to_string(kMameinfo.size()), "MAME v0.37b5\r\n\r\nNotes.\r\n$end\r\n$info=x\r\n$mame\r\n0.1", false},
      {"U" + Ref(second, 30), "MAME v0.1", false},
      {"U*", "", true},
      {"U 1 ,0", "", false},
  };
  for (const auto& c : cases) {
    state.GameRecord = "gng;Bx;" + c.reference;
    state.MameinfoText.clear();
    ReadMameinfo(state);
    EXPECT_EQ(state.MameinfoText, c.text) << c.reference;
    EXPECT_EQ(state.RomAvailable, c.available) << c.reference;
  }
}

TEST_F(DataEntriesTest, MalformedReferencesFailWithTheirNumbers) {
  const struct {
    std::string record;
    bool history;
    int number;
  } cases[] = {
      {"gng;Q1,12", true, 5},      // no ";" after the length
      {"gng;Q1,x;", true, 13},     // a length that is not a number
      {"gng;Ux,5", false, 13},     // an offset that is not a number
      {"gng;U0,5", false, 63},     // offset 0 reaches the file
      {"gng;Q1,-1;", true, 5},
  };
  for (const auto& c : cases) {
    state.GameRecord = c.record;
    try {
      c.history ? ReadHistory(state) : ReadMameinfo(state);
      ADD_FAILURE() << c.record;
    } catch (const RunTimeError& e) {
      EXPECT_EQ(e.Number(), c.number) << c.record;
    }
  }
}

TEST_F(DataEntriesTest, EndAtTheVeryStartLeavesNothingToDrop) {
  dir.Write("e.dat", "$end\r\n");
  state.HistoryPath = dir.Str() + "/e.dat";
  state.GameRecord = "gng;Q1,6;";
  EXPECT_THROW(ReadHistory(state), RunTimeError);
}

TEST_F(DataEntriesTest, FallsBackToTheDataFolderAndRemembersIt) {
  dir.Write("DataFiles/History.dat", kHistory);
  state.HistoryPath = dir.Str() + "\\nowhere.dat";
  state.GameRecord = "gng;Q1,40;";
  ReadHistory(state);
  EXPECT_EQ(state.HistoryPath, dir.Str() + "\\datafiles\\history.dat");
  EXPECT_EQ(state.HistoryText, "\r\nFirst game.\r\n\r\n- TRI");

  state.MameinfoPath = dir.Str() + "\\nowhere.dat";
  state.GameRecord = "gng;U1,40*";
  ReadMameinfo(state);  // neither place has the file: no text, no failure
  EXPECT_EQ(state.MameinfoText, "");
  EXPECT_TRUE(state.RomAvailable);
}

}  // namespace
}  // namespace zorv
