// zorv-report as a user runs it: through a symbolic link placed in a
// collection's folder, which makes that folder the program folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_program.h"
#include "support/small_collection.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

using testing::Quoted;
using testing::RunProgram;
using testing::TempFolder;

const std::string kProgram = std::string(ZORV_BINARY_DIR) + "/apps/zorv-report/zorv-report";

class ZorvReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_symlink(kProgram, collection.Path() / "zorv-report");
    testing::WriteSmallCollection(collection);
  }

  testing::ProgramResult Report(const std::string& arguments) {
    return RunProgram(Quoted((collection.Path() / "zorv-report").string()) + " " + arguments + " 2>/dev/null");
  }

  TempFolder collection;
};

TEST_F(ZorvReportTest, WritesThePlainTextOfTheReport) {
  const auto result = Report("--format text gng.zip");
  ASSERT_EQ(result.ExitStatus, 0);
  for (const char* expected :
       {"Ghosts'n Goblins\n", "Name of Rom : gng\n", "Rom available : True\n", "Manufacturer : Capcom\n",
        "Year : 1985\n", "Mature : False\n", "HISTORY \nA knight.\n\n- TRIVIA -\nFun \xc3\xa9t\xc3\xa9.\n",
        "MAMEINFO \nMAME v0.37b5\n", "Notes :\nBeaten twice.\n", "Snap :\n\n"}) {
    EXPECT_NE(result.Output.find(expected), std::string::npos) << expected << "\n---\n" << result.Output;
  }
  EXPECT_EQ(result.Output.find("#SNAP"), std::string::npos);
  EXPECT_FALSE(collection.Exists("Zorv.Log.txt"));
}

TEST_F(ZorvReportTest, RtfIsTheDefaultAndCarriesTheTextColour) {
  const auto result = Report("gng");
  ASSERT_EQ(result.ExitStatus, 0);
  EXPECT_TRUE(result.Output.starts_with("{\\rtf1")) << result.Output.substr(0, 80);
  EXPECT_NE(result.Output.find("\\red0\\green255\\blue0"), std::string::npos);
  EXPECT_NE(result.Output.find("Ghosts'n Goblins"), std::string::npos);
}

TEST_F(ZorvReportTest, SavesTheReportWhenASaveFolderIsSet) {
  collection.Write("Zorv.inf", "SavePath=" + collection.Str() + "/Saved\r\n");
  std::filesystem::create_directories(collection.Path() / "saved");
  const auto result = Report("gng");
  ASSERT_EQ(result.ExitStatus, 0);
  EXPECT_EQ(collection.Read("saved/ZRV_gng.rtf"), result.Output);
}

TEST_F(ZorvReportTest, EmptyCommandGivesTheUsageSheet) {
  const auto result = Report("--format text");
  EXPECT_EQ(result.ExitStatus, 0);
  EXPECT_TRUE(result.Output.starts_with(" [Press 'ESC' key to exit]\n\n Zorvane is part of Quorbis."));
}

TEST_F(ZorvReportTest, SilentStopsExitWithOneAndTheirLogLine) {
  EXPECT_EQ(Report("pacman").ExitStatus, 1);
  EXPECT_EQ(Report("/noimage").ExitStatus, 1);
  const std::string log = collection.Read("Zorv.Log.txt");
  EXPECT_NE(log.find("\r\nCan't find the rom 'pacman' into the index. file.\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("\r\nRom name is empty."), std::string::npos) << log;
}

TEST_F(ZorvReportTest, OptionsFollowGetoptConventions) {
  EXPECT_EQ(Report("--format=bogus gng").ExitStatus, 2);
  EXPECT_EQ(Report("--nonsense").ExitStatus, 2);
  const auto help = Report("--help");
  EXPECT_EQ(help.ExitStatus, 0);
  EXPECT_NE(help.Output.find("Usage: zorv-report"), std::string::npos);
  EXPECT_EQ(Report("-f text -- gng").ExitStatus, 0);
}

}  // namespace
}  // namespace zorv
