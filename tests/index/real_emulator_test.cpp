// The one-command set-up with Debian's own emulator, as a new user meets it:
// the programs installed in a folder the user cannot write, an empty home but
// for a snapshot, /etc/mame/mame.ini and "mame -listxml" (some 270 MB, so this
// is the only test that asks the real emulator). Then the viewer's report and
// the diagnosis, in the collection folder made on first use.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/normal_user.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace zorv::testing {
namespace {

namespace fs = std::filesystem;

TEST(RealEmulator, SetsUpACollectionForANewUserInOneCommand) {
  ASSERT_TRUE(fs::exists("/usr/games/mame") && fs::exists("/etc/mame/mame.ini"))
      << "Debian's mame package is needed (scripts/setup.sh installs it)";
  TempFolder dir;
  const fs::path bin = dir.Path() / "bin";
  fs::create_directories(bin);
  fs::create_symlink(std::string(ZORV_BINARY_DIR) + "/tools/zorv-index/zorv-index", bin / "zorv-index");
  fs::create_symlink(std::string(ZORV_BINARY_DIR) + "/apps/zorv-report/zorv-report", bin / "zorv-report");
  fs::permissions(bin, fs::perms::owner_write, fs::perm_options::remove);
  const fs::path home = dir.Path() / "home";
  OpenToNormalUser(home);
  fs::create_directories(home / ".mame/snap");  // the emulator's snapshot folder, with one snapshot
  fs::copy_file(std::string(ZORV_DEMO_DIR) + "/pictures/snap/gng.png", home / ".mame/snap/gng.png");
  const auto run = [&](const std::string& command) {
    return RunProgram("cd " + Quoted(home) + " && " +
                      AsNormalUser("env -i PATH=/usr/bin:/bin HOME=" + Quoted(home) + " " + command + " 2>&1"));
  };

  const ProgramResult setup = run(Quoted(bin / "zorv-index") + " --mame-ini");
  fs::permissions(bin, fs::perms::owner_write, fs::perm_options::add);
  ASSERT_EQ(setup.ExitStatus, 0) << setup.Output;
  const fs::path collection = home / ".local/share/zorvane";
  for (const std::string& line : std::vector<std::string>{
           "Settings:         /etc/mame/mame.ini; no ui.ini\n", "Game list:        /usr/games/mame -listxml\n",
        "Collection:       " + collection.string() + "\n",
        "Snapshots:        " + (home / ".mame/snap").string() + ": 1 picture\n"}) {
    EXPECT_NE(setup.Output.find(line), std::string::npos) << line << "in\n" << setup.Output;
  }
  const std::size_t games = std::stoul(setup.Output.substr(setup.Output.find("Games:") + 18));
  EXPECT_GT(games, 30000u) << setup.Output;
  EXPECT_EQ(ReadFile(collection / "Zorv.inf"), "SnapPath=" + (home / ".mame/snap").string() + "\r\n");

  const ProgramResult report = run(Quoted(bin / "zorv-report") + " --format text gng");
  EXPECT_EQ(report.ExitStatus, 0) << report.Output;
  EXPECT_TRUE(report.Output.starts_with(" Ghosts'n Goblins")) << report.Output.substr(0, 200);
  const ProgramResult check = run(Quoted(bin / "zorv-report") + " --check");
  EXPECT_EQ(check.ExitStatus, 0) << check.Output;
  EXPECT_NE(check.Output.find("ok     snapshots       " + (home / ".mame/snap").string() + ": 1 picture\n"),
            std::string::npos)
      << check.Output;
}

}  // namespace
}  // namespace zorv::testing
