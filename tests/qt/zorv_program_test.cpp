// The zorv program itself: a start-up that stops silently ends with status 1
// before any window or display is asked for.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace zorv::testing {
namespace {

const std::string kProgram = std::string(ZORV_BINARY_DIR) + "/apps/zorv/zorv";

TEST(ZorvProgramTest, SilentStopEndsWithOneAndNoWindow) {
  TempFolder collection;
  std::filesystem::create_symlink(kProgram, collection.Path() / "zorv");
  collection.Write("DataFiles/Index", "gng;BGhosts'n Goblins;*\r\n");
  // No display at all: a window would make the program fail differently.
  const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb ";
  const std::string zorv = Quoted((collection.Path() / "zorv").string());
  EXPECT_EQ(RunProgram(noDisplay + zorv + " pacman 2>&1").ExitStatus, 1);
  EXPECT_EQ(RunProgram(noDisplay + zorv + " /center 2>&1").ExitStatus, 1);
  // A front end's ROM file path is the ROM name.
  const std::string romFile = collection.Write("roms/mspacman.zip", "PK").string();
  const auto stop = RunProgram(noDisplay + zorv + " " + Quoted(romFile) + " /ontop 2>&1");
  EXPECT_EQ(stop.ExitStatus, 1);
  EXPECT_TRUE(stop.Output.starts_with("zorv: Can't find the rom 'mspacman' into the index. file. (logged in "))
      << stop.Output;
  const std::string log = collection.Read("Zorv.Log.txt");
  EXPECT_NE(log.find("Can't find the rom 'pacman' into the index. file."), std::string::npos) << log;
  EXPECT_NE(log.find("Rom name is empty."), std::string::npos) << log;
  EXPECT_NE(log.find("Can't find the rom 'mspacman' into the index. file."), std::string::npos) << log;
  EXPECT_FALSE(collection.Exists("Zorv.inf"));
}

}  // namespace
}  // namespace zorv::testing
