// zorv-report as a user runs it: through a symbolic link placed in a
// collection's folder, which makes that folder the program folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/golden_file.h"
#include "support/run_program.h"
#include "support/small_collection.h"
#include "support/temp_folder.h"

namespace zorv::testing {
namespace {

struct ZorvReportTest : ::testing::Test {
  void SetUp() override {
    std::filesystem::create_symlink(std::string(ZORV_BINARY_DIR) + "/apps/zorv-report/zorv-report", collection.Path() / "zorv-report");
    WriteSmallCollection(collection);
  }
  // In the regional settings of the C locale unless told otherwise.
  ProgramResult Report(const std::string& arguments, const std::string& locale = "C") {
    return RunProgram("LC_ALL=" + locale + " " + Quoted((collection.Path() / "zorv-report").string()) + " " + arguments + " 2>/dev/null");
  }
  TempFolder collection;
};

TEST_F(ZorvReportTest, WritesTheReportInEachFormatAndLanguageAsTheGoldenFilesHoldIt) {
  const auto text = Report("--format text gng.zip");
  EXPECT_EQ(text.ExitStatus, 0);
  ExpectGolden("report-gng-english.txt", text.Output);
  const auto rtf = Report("gng");
  EXPECT_EQ(rtf.ExitStatus, 0);
  ExpectGolden("report-gng-english.rtf", rtf.Output);
  collection.Write("Zorv.inf", "Language=0\r\nColor=Yellow\r\nSize=12\r\nFont=Verdana\r\nSavePath=" + collection.Str() + "/Saved\r\n");
  std::filesystem::create_directories(collection.Path() / "saved");
  const auto french = Report("-f text -- gng", "fr_FR.UTF-8");
  EXPECT_EQ(french.ExitStatus, 0);
  ExpectGolden("report-gng-french.txt", french.Output);
  ExpectGolden("report-gng-french.rtf", collection.Read("saved/ZRV_gng.rtf"));
  EXPECT_FALSE(collection.Exists("Zorv.Log.txt"));
  const auto usage = Report("--format text");
  EXPECT_EQ(usage.ExitStatus, 0);
  EXPECT_TRUE(usage.Output.starts_with(" [Press 'ESC' key to exit]\n\n Zorvane is part of Quorbis."));
}

TEST_F(ZorvReportTest, SilentStopsExitWithOneAndTheirLogLineAndBadOptionsWithTwo) {
  EXPECT_EQ(Report("pacman").ExitStatus, 1);
  EXPECT_EQ(Report("/noimage").ExitStatus, 1);
  const std::string log = collection.Read("Zorv.Log.txt");
  EXPECT_NE(log.find("\r\nCan't find the rom 'pacman' into the index. file.\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("\r\nRom name is empty."), std::string::npos) << log;
  EXPECT_EQ(Report("--format=bogus gng").ExitStatus + Report("--nonsense").ExitStatus, 4);
  const auto help = Report("--help");
  EXPECT_EQ(help.ExitStatus, 0);
  EXPECT_NE(help.Output.find("Usage: zorv-report"), std::string::npos);
}

TEST_F(ZorvReportTest, AFrontEndsRomPathIsTheRomNameAndAPathToNoRomFileIsNamed) {
  collection.Write("roms/gng.zip", "PK");
  collection.Write("roms/gng.7z", "7z");
  std::filesystem::create_directories(collection.Path() / "roms/set/gng");
  const std::vector<std::tuple<std::string, int, std::string>> cases = {
      {Quoted(collection.Str() + "/roms/gng.zip"), 0, " Ghosts'n Goblins\n"},
      {"roms/gng.7z /nosnap", 0, " Ghosts'n Goblins\n"},
      {"gng/nosnap", 0, " Ghosts'n Goblins\n"},  // a switch after the name, as designed
      {"roms/set/gng", 1, "zorv-report: roms/set/gng: is a folder, not a ROM file; give the game's ROM name, or the "
                          "path of its .zip or .7z\n"},
      {"roms/pacman.zip", 1, "zorv-report: roms/pacman.zip: no such file; give the game's ROM name, or the path of "
                             "its .zip or .7z\n"}};
  for (const auto& [arguments, status, output] : cases) {
    const auto run = RunProgram("cd " + Quoted(collection.Str()) + " && ./zorv-report --format text " + arguments + " 2>&1");
    EXPECT_EQ(run.ExitStatus, status) << arguments;
    EXPECT_TRUE(run.Output.starts_with(output)) << arguments << ": " << run.Output.substr(0, 200);
  }
  EXPECT_FALSE(collection.Exists("Zorv.Log.txt"));
}

}  // namespace
}  // namespace zorv::testing
