// zorv-index --mame-ini as a user runs it, installed in a folder of programs
// and without privileges: the emulator's settings files as the emulator reads
// them, a stand-in "mame" for the game list (the real one has a test program of
// its own), the collection made in $ZORV_HOME, and the viewer reading it. What
// fails leaves the collection as it was.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "startup/startup.h"
#include "support/normal_user.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace zorv::index {
namespace {

namespace fs = std::filesystem;
using zorv::testing::Quoted;
using zorv::testing::TempFolder;

constexpr const char* kListWithADevice =
    "<mame><machine name=\"gng\"><description>Ghosts'n Goblins</description></machine>"
    "<machine name=\"z80\" isdevice=\"yes\" runnable=\"no\"/></mame>";
constexpr const char* kKnightHistory = "$info=gng,\r\n$bio\r\nA knight.\r\n$end\r\n";

struct SetupTest : ::testing::Test {
  void SetUp() override {
    dir.Write("home/.mame/mame.ini",
              "\xEF\xBB\xBF# the emulator's own settings\r\n"
              "inipath                  $HOME/.mame;/no/such/folder\r\n"
              "rompath                  \"$HOME/my roms;roms\"    # two folders, one of them relative\r\n"
              "snapshot_directory       ${HOME}/.mame/snap\r\n");
    dir.Write("home/.mame/ui.ini",
              "historypath              ~/dats\n"
              "titles_directory         titles\n"
              "marquees_directory       \"$HOME/no such\"\n");
    dir.Write("home/dats/history.dat", kKnightHistory);
    dir.Write("work/folders/catver.ini", "[Category]\r\ngng=Platform / Run Jump\r\n");
    dir.Write("work/roms/gng.zip", "PK");
    fs::create_directories(dir.Path() / "home/my roms");
    fs::create_directories(dir.Path() / "home/.mame/snap");
    fs::copy_file(std::string(ZORV_DEMO_DIR) + "/pictures/snap/gng.png", dir.Path() / "home/.mame/snap/gng.png");
    // The title screens as the emulator keeps them: an archive named like the folder.
    fs::copy_file(std::string(ZORV_DEMO_DIR) + "/pictures/titles/gng.png", dir.Path() / "work/gng.png");
    EXPECT_EQ(std::system(("cd " + Quoted(dir.Str() + "/work") + " && python3 -m zipfile -c titles.zip gng.png && rm gng.png").c_str()), 0);
    dir.Write("work/list.xml", kListWithADevice);
    fs::create_directories(dir.Path() / "bin");
    fs::create_symlink(ZORV_INDEX_TOOL, dir.Path() / "bin/zorv-index");
    fs::permissions(dir.Path() / "bin", fs::perms::owner_write, fs::perm_options::remove);
    zorv::testing::OpenToNormalUser(dir.Path() / "collection");
  }
  void TearDown() override { fs::permissions(dir.Path() / "bin", fs::perms::owner_write, fs::perm_options::add); }

  zorv::testing::ProgramResult Tool(const std::string& arguments, const std::string& environment = "") {
    return zorv::testing::RunProgram(
        "cd " + Quoted(dir.Str() + "/work") + " && " +
        zorv::testing::AsNormalUser("env HOME=" + Quoted(dir.Str() + "/home") + " ZORV_HOME=" +
                                    Quoted(dir.Str() + "/collection") + " " + environment + " " +
                                    Quoted(dir.Str() + "/bin/zorv-index") + " " + arguments + " 2>&1"));
  }

  TempFolder dir;
};

TEST_F(SetupTest, MakesTheCollectionTheViewerReadsFromTheEmulatorsSettings) {
  const std::string d = dir.Str();
  const auto run = Tool("--mame-ini --listxml list.xml");
  ASSERT_EQ(run.ExitStatus, 0) << run.Output;
  EXPECT_EQ(run.Output,
            "Settings:         " + d + "/home/.mame/mame.ini, " + d + "/home/.mame/ui.ini\n"
            "Game list:        list.xml\n"
            "Collection:       " + d + "/collection\n"
            "Index:            " + d + "/collection/datafiles/index\n"
            "Games:            1 (1 other machines passed over)\n"
            "With history:     1, from " + d + "/home/dats/history.dat\n"
            "With mameinfo:    0 (no file found)\n"
            "ROM sets present: 1 (1 set in " + d + "/home/my roms, " + d + "/work/roms)\n"
            "Categories:       " + d + "/work/folders/catver.ini\n"
            "Players:          no file found\n"
            "Title screens:    " + d + "/work/titles.zip (archive): 1 picture\n"
            "Snapshots:        " + d + "/home/.mame/snap: 1 picture\n"
            "Marquees:         not found\n"
            "Cabinets:         not found\n"
            "Control panels:   not found\n"
            "Flyers:           not found\n"
            "Zorv.inf:         " + d + "/collection/Zorv.inf, written with the picture folders found\n"
            "Written:          " + d + "/collection/datafiles/history.dat\n"
            "Looked for and not found:\n"
            "  mameinfo: mameinfo.dat, mameinfo.zip or mameinfo.7z in " + d + "/home/dats, " + d + "/work/folders\n"
            "  players: nplayers.ini, nplayers.zip or nplayers.7z in " + d + "/work/folders, " + d + "/home/dats\n"
            "  marquees: a folder, .zip or .7z at " + d + "/home/no such\n"
            "  cabinets: a folder, .zip or .7z at " + d + "/work/cabinets, " + d + "/work/cabdevs\n"
            "  control panels: a folder, .zip or .7z at " + d + "/work/cpanel\n"
            "  flyers: a folder, .zip or .7z at " + d + "/work/flyers\n");
  EXPECT_EQ(dir.Read("collection/Zorv.inf"),
            "TitlesPath=" + d + "/work/titles\r\nSnapPath=" + d + "/home/.mame/snap\r\n");
  EXPECT_EQ(dir.Read("collection/datafiles/history.dat"), kKnightHistory);

  // The viewer, started for gng in that collection.
  SharedState state;
  state.ProgramFolder = d + "/collection";
  ASSERT_EQ(Main(state, "gng"), StartupOutcome::GameSheet);
  EXPECT_EQ(state.HistoryText, "A knight.");
  EXPECT_EQ(state.Genre, "Platform");
  EXPECT_TRUE(state.RomAvailable);
  EXPECT_EQ(state.ImagePath[1], d + "/work/titles\\|gng.png");
  EXPECT_EQ(state.ImagePath[2], d + "/home/.mame/snap\\gng.png");

  // Again, with the user's own Zorv.inf: it stays as it is.
  dir.Write("collection/Zorv.inf", "Font=Mine\r\n");
  const auto again = Tool("--mame-ini --listxml list.xml");
  EXPECT_EQ(again.ExitStatus, 0) << again.Output;
  EXPECT_NE(again.Output.find("Zorv.inf:         " + d + "/collection/Zorv.inf, the collection's own, left as it was\n"),
            std::string::npos)
      << again.Output;
  EXPECT_EQ(dir.Read("collection/Zorv.inf"), "Font=Mine\r\n");
}

TEST_F(SetupTest, TheEmulatorsGameListCountsOnlyWhenItEndsWell) {
  struct EmulatorCase {
    const char* name;
    std::string script;  // after the check of its one argument; LIST is the game list
    int status;
    std::string message;  // with "@" for the stand-in's path
  };
  const std::vector<EmulatorCase> cases = {
      {"a crash at the end", "cat LIST; kill -SEGV $$", 1,
       "zorv-index: @ -listxml was killed by signal 11 (Segmentation fault)\n"},
      {"a crash half-way", "head -c 60 LIST; kill -SEGV $$", 1,
       "zorv-index: @ -listxml was killed by signal 11 (Segmentation fault)\n"},
      {"a failure status", "cat LIST; exit 3", 1, "zorv-index: @ -listxml failed (exit status 3)\n"},
      {"nothing at all", "exit 0", 1, "zorv-index: the output of @ -listxml: the emulator printed nothing\n"},
      {"no XML", "echo 'Unknown command'", 1,
       "zorv-index: the output of @ -listxml: not well-formed XML at line 1, column 1: syntax error\n"},
      {"a good list, after all those", "cat LIST", 0, "Game list:        @ -listxml\n"}};
  const std::string mame = dir.Str() + "/emulator/mame";
  for (const EmulatorCase& c : cases) {
    std::string script = c.script;
    if (const auto list = script.find("LIST"); list != std::string::npos) {
      script.replace(list, 4, Quoted(dir.Str() + "/work/list.xml"));
    }
    zorv::testing::WriteFile(mame, "#!/bin/sh\n[ \"$*\" = -listxml ] || exit 9\n" + script + "\n");
    fs::permissions(mame, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec |
                              fs::perms::group_read | fs::perms::others_read);
    const auto run = Tool("--mame-ini", "PATH=" + Quoted(dir.Str() + "/emulator") + ":/usr/bin:/bin");
    EXPECT_EQ(run.ExitStatus, c.status) << c.name << "\n" << run.Output;
    std::string message = c.message;
    message.replace(message.find('@'), 1, mame);
    EXPECT_NE(run.Output.find(message), std::string::npos) << c.name << "\n" << run.Output;
    EXPECT_EQ(dir.Exists("collection/datafiles/index"), c.status == 0) << c.name;
    EXPECT_EQ(dir.Exists("collection/Zorv.inf"), c.status == 0) << c.name;
  }
}

TEST_F(SetupTest, SettingsThatCannotBeReadAreNamedWithWhatToDo) {
  const std::string d = dir.Str();
  fs::create_directories(dir.Path() / "a folder");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"--mame-ini " + Quoted(d + "/none.ini"),
       d + "/none.ini: no such file; give the emulator's settings file, e.g. --mame-ini /etc/mame/mame.ini"},
      {"--mame-ini=" + Quoted(d + "/a folder"), d + "/a folder: is a folder, not a settings file; give the emulator's"}};
  for (const auto& [arguments, message] : cases) {
    const auto run = Tool(arguments + " --listxml list.xml");
    EXPECT_EQ(run.ExitStatus, 1) << arguments;
    EXPECT_EQ(run.Output.find("zorv-index: " + message), 0u) << run.Output;
  }
  // A ui.ini that is no file, then one its user may not read.
  fs::rename(dir.Path() / "home/.mame/ui.ini", dir.Path() / "ui.ini");
  fs::create_directories(dir.Path() / "home/.mame/ui.ini");
  const auto folder = Tool("--mame-ini --listxml list.xml");
  EXPECT_EQ(folder.ExitStatus, 1);
  EXPECT_EQ(folder.Output, "zorv-index: " + d + "/home/.mame/ui.ini: is a folder, not a settings file; make it "
                           "readable, or move it away for the emulator's defaults\n");
  fs::remove(dir.Path() / "home/.mame/ui.ini");
  fs::rename(dir.Path() / "ui.ini", dir.Path() / "home/.mame/ui.ini");
  fs::permissions(dir.Path() / "home/.mame/ui.ini", fs::perms::owner_write);
  const auto locked = Tool("--mame-ini --listxml list.xml");
  EXPECT_EQ(locked.ExitStatus, 1);
  EXPECT_EQ(locked.Output, "zorv-index: " + d + "/home/.mame/ui.ini: cannot be read (Permission denied); make it "
                           "readable, or move it away for the emulator's defaults\n");
  EXPECT_FALSE(dir.Exists("collection/datafiles"));
}

}  // namespace
}  // namespace zorv::index
