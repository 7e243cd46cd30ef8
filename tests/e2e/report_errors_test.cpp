// Runs that fail, as a user at a terminal and a hostile collection see them:
// one line on standard error, the log line, nothing written where it must not
// be, and never a wait on a FIFO under one of the program's file names.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "program_version.h"
#include "support/run_program.h"
#include "support/small_collection.h"
#include "support/temp_folder.h"

namespace zorv::testing {
namespace {

const std::string kBin = ZORV_BINARY_DIR;

struct StopCase {
  const char* name;
  std::string arguments;
  std::string zorvInf;      // with "@" for the collection's folder
  std::string fifo;         // a FIFO made under this name
  std::string userTemplate;  // Zorv.rtf
  int status;
  std::string errorLine;  // standard error, with "@" for the collection's folder
  std::string logLine;    // a line the log holds
  friend void PrintTo(const StopCase& test, std::ostream* out) { *out << test.name; }
};

std::string WithFolder(std::string text, const std::string& folder) {
  for (auto at = text.find('@'); at != std::string::npos; at = text.find('@', at + folder.size())) {
    text.replace(at, 1, folder);
  }
  return text;
}

class ReportStopTest : public ::testing::TestWithParam<StopCase> {};

TEST_P(ReportStopTest, SaysWhyOnceAndNeverWaits) {
  const StopCase& test = GetParam();
  TempFolder collection;
  WriteSmallCollection(collection);
  collection.Write("DataFiles/Index", "x\\..\\..\\evil;BEvil;S;C1;D1\r\n" + collection.Read("DataFiles/Index"));
  std::filesystem::create_directories(collection.Path() / "saved" / "ZRV_x");
  std::filesystem::create_symlink(kBin + "/apps/zorv-report/zorv-report", collection.Path() / "zorv-report");
  if (!test.zorvInf.empty()) collection.Write("Zorv.inf", WithFolder(test.zorvInf, collection.Str()));
  if (!test.userTemplate.empty()) collection.Write("Zorv.rtf", test.userTemplate);
  ASSERT_TRUE(test.fifo.empty() || ::mkfifo((collection.Path() / test.fifo).c_str(), 0600) == 0);
  const auto run = RunProgram("timeout 20 " + Quoted(collection.Str() + "/zorv-report") + " " + test.arguments +
                              " 2>&1 >/dev/null");
  EXPECT_EQ(run.ExitStatus, test.status);
  EXPECT_EQ(run.Output, WithFolder(test.errorLine, collection.Str()));
  // A FIFO log is never opened here: reading it would wait.
  if (!test.logLine.empty()) {
    EXPECT_NE(collection.Read("Zorv.Log.txt").find(test.logLine), std::string::npos) << collection.Read("Zorv.Log.txt");
  }
  EXPECT_FALSE(collection.Exists("evil.rtf"));
  if (!test.userTemplate.empty()) {
    EXPECT_EQ(collection.Read("Zorv.rtf"), test.userTemplate);
  }
}

const std::string kSave = "SavePath=@/saved/\r\n";
INSTANTIATE_TEST_SUITE_P(
    Stops, ReportStopTest,
    ::testing::Values(
        StopCase{"RomNotFound", "pacman", "", "", "", 1,
                 "zorv-report: Can't find the rom 'pacman' into the index. file. (logged in @/Zorv.Log.txt)\n",
                 "\r\nCan't find the rom 'pacman' into the index. file.\r\n"},
        StopCase{"RomNameLeavesItsFolder", "'x\\..\\..\\evil' /noimage", kSave, "", "", 1,
                 "zorv-report: ERROR B - 52 (bad file name or number) (logged in @/Zorv.Log.txt)\n",
                 "\r\nERROR B - 52\r\n"},
        StopCase{"LogIsAFifo", "pacman", "", "Zorv.Log.txt", "", 1,
                 "zorv-report: stopped; its log line could not be written to @/Zorv.Log.txt\n", ""},
        StopCase{"SavedReportIsAFifo", "gng", "SavePath=@/\r\n", "ZRV_gng.rtf", "", 0, "", "\r\nERROR G - 75\r\n"},
        StopCase{"TemplateIsAFifo", "gng /defaultrtf", "", "Zorv.rtf", "", 0, "", "\r\nERROR E - 75\r\n"},
        StopCase{"BackupIsAFifo", "gng /defaultrtf", "", "Zorv.bak", "{\\rtf1 mine}", 0, "",
                 "\r\nERROR E - 75\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProgramsTest, OptionsMayFollowTheRomNameAndEveryProgramKeepsTheGnuHabits) {
  TempFolder collection;
  WriteSmallCollection(collection);
  std::filesystem::create_symlink(kBin + "/apps/zorv-report/zorv-report", collection.Path() / "zorv-report");
  const auto text = RunProgram(Quoted(collection.Str() + "/zorv-report") + " gng /nosnap --format text");
  EXPECT_EQ(text.ExitStatus, 0);
  EXPECT_TRUE(text.Output.starts_with(" Ghosts'n Goblins\n")) << text.Output.substr(0, 80);

  // GNU habits in every program, the window program answering without a
  // display: --version, and a usage error called by the program's name alone.
  const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb ";
  for (const std::string program : {"apps/zorv/zorv", "apps/zorv-report/zorv-report", "tools/zorv-index/zorv-index",
                                    "tools/zorv-decode/zorv-decode", "tools/zorv-inflate/zorv-inflate"}) {
    if (!std::filesystem::exists(kBin + "/" + program)) continue;  // the window program needs Qt
    const std::string name = std::filesystem::path(program).filename().string();
    const auto answer = RunProgram(noDisplay + kBin + "/" + program + " --version");
    EXPECT_EQ(answer.ExitStatus, 0) << program;
    EXPECT_TRUE(answer.Output.starts_with(name + " (Zorvane) " + std::string(kZorvaneVersion) + "\nCopyright (C) "));
    EXPECT_NE(answer.Output.find("\nLicense GPLv3+"), std::string::npos) << answer.Output;
    const auto wrong = RunProgram(noDisplay + kBin + "/" + program + " --bogus 2>&1");
    EXPECT_EQ(wrong.ExitStatus, 2) << program;
    EXPECT_EQ(wrong.Output, name + ": unrecognized option '--bogus'\nTry '" + name + " --help' for more information.\n");
  }
}

}  // namespace
}  // namespace zorv::testing
