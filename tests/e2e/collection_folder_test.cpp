// An installed program, in a folder of programs its user cannot write: the
// collection is the user's own folder, made on first use, unless the program
// folder is a collection itself. Run as a user without privileges.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/normal_user.h"
#include "support/run_program.h"
#include "support/small_collection.h"
#include "support/temp_folder.h"

namespace zorv::testing {
namespace {

namespace fs = std::filesystem;

struct InstalledProgramTest : ::testing::Test {
  void SetUp() override {
    fs::create_directories(bin);
    fs::create_symlink(std::string(ZORV_BINARY_DIR) + "/apps/zorv-report/zorv-report", bin / "zorv-report");
    fs::permissions(bin, fs::perms::owner_write, fs::perm_options::remove);  // as /usr/bin is to its users
    OpenToNormalUser(user);
  }
  void TearDown() override { fs::permissions(bin, fs::perms::owner_write, fs::perm_options::add); }

  // `environment` takes the place of the user's collection settings.
  ProgramResult Report(const std::string& environment, const std::string& arguments) {
    return RunProgram(AsNormalUser("env -u ZORV_HOME -u XDG_DATA_HOME HOME=" + Quoted(user / "home") + " " +
                                   environment + " " + Quoted((bin / "zorv-report").string()) + " " + arguments +
                                   " 2>&1"));
  }

  TempFolder root;
  fs::path bin = root.Path() / "bin";
  fs::path user = root.Path() / "user";
};

TEST_F(InstalledProgramTest, UsesTheUsersCollectionFolderMadeOnFirstUse) {
  struct FolderCase {
    std::string environment;
    fs::path folder;
    std::string reason;
  };
  const std::vector<FolderCase> cases = {
      {"ZORV_HOME=" + Quoted(user / "arcade"), user / "arcade", "$ZORV_HOME"},
      {"XDG_DATA_HOME=" + Quoted(user / "data"), user / "data/zorvane", "$XDG_DATA_HOME/zorvane"},
      {"", user / "home/.local/share/zorvane", "~/.local/share/zorvane"}};
  for (const FolderCase& c : cases) {
    const ProgramResult stop = Report(c.environment, "gng");
    EXPECT_EQ(stop.ExitStatus, 1) << c.reason;
    EXPECT_EQ(stop.Output, "zorv-report: Can't find the index. file. Please use Quorbis to create it. [END] (logged in " +
                               (c.folder / "Zorv.Log.txt").string() + ")\n");
    const ProgramResult check = Report(c.environment, "--check");
    EXPECT_TRUE(check.Output.starts_with("ok     folder          " + c.folder.string() + " (" + c.reason +
                                         ": the program folder " + bin.string() +
                                         " holds no datafiles/index and cannot be written)\n"))
        << check.Output;

    WriteSmallCollection(c.folder);
    const ProgramResult report = Report(c.environment, "--format text gng");
    EXPECT_EQ(report.ExitStatus, 0) << c.reason << "\n" << report.Output;
    EXPECT_TRUE(report.Output.starts_with(" Ghosts'n Goblins\n")) << report.Output.substr(0, 80);
  }
  EXPECT_FALSE(fs::exists(bin / "Zorv.Log.txt"));
}

TEST_F(InstalledProgramTest, AProgramFolderThatIsACollectionStaysTheCollection) {
  fs::permissions(bin, fs::perms::owner_write, fs::perm_options::add);
  WriteSmallCollection(bin);
  fs::permissions(bin, fs::perms::owner_write, fs::perm_options::remove);
  const ProgramResult report = Report("ZORV_HOME=" + Quoted(user / "arcade"), "--format text gng");
  EXPECT_EQ(report.ExitStatus, 0) << report.Output;
  EXPECT_TRUE(report.Output.starts_with(" Ghosts'n Goblins\n")) << report.Output.substr(0, 80);
  EXPECT_FALSE(fs::exists(user / "arcade"));
}

TEST_F(InstalledProgramTest, ACollectionFolderThatCannotBeMadeIsNamedWithWhatToDo) {
  WriteFile(user / "a-file", "mine");
  const fs::path locked = root.Path() / "locked/home";  // a home the user cannot write
  fs::create_directories(locked);
  fs::permissions(locked, fs::perms::owner_write, fs::perm_options::remove);
  const ProgramResult file = Report("ZORV_HOME=" + Quoted(user / "a-file"), "gng");
  EXPECT_EQ(file.ExitStatus, 1);
  EXPECT_EQ(file.Output, "zorv-report: " + (user / "a-file").string() +
                             " is not a folder; set ZORV_HOME to a folder you can write, e.g. ZORV_HOME=~/arcade\n");
  EXPECT_EQ(ReadFile(user / "a-file"), "mine");
  const ProgramResult readOnly = Report("HOME=" + Quoted(locked), "gng");
  fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(readOnly.ExitStatus, 1);
  EXPECT_TRUE(readOnly.Output.starts_with("zorv-report: cannot make the collection folder " +
                                          (locked / ".local/share/zorvane").string() +
                                          " (Permission denied); set ZORV_HOME"))
      << readOnly.Output;
}

}  // namespace
}  // namespace zorv::testing
