// The demo collection: its committed index is what the tool makes of the demo's
// files (any change in what the tool writes shows here), and the demo games
// show their values through start-up.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "index_builder.h"
#include "startup/startup.h"
#include "support/temp_folder.h"

namespace zorv::index {
namespace {

using zorv::testing::TempFolder;

const std::string kDemo = ZORV_DEMO_DIR;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DemoIndex, TheCommittedIndexIsWhatTheToolMakesOfTheDemoFiles) {
  TempFolder dir;
  BuildIndex({.listXml = kDemo + "/gamelist.xml", .history = kDemo + "/datafiles/history.dat",
              .mameinfo = kDemo + "/datafiles/mameinfo.dat", .catver = kDemo + "/catver.ini",
              .nplayers = kDemo + "/nplayers.ini", .romFolders = {}, .output = dir.Str() + "/index"});
  EXPECT_EQ(dir.Read("index"), ReadFile(kDemo + "/datafiles/index"))
      << "run demo/make-index.sh after changing the demo's files";
}

TEST(DemoIndex, DemoGamesShowTheirValues) {
  TempFolder dir;
  for (const char* file : {"history.dat", "mameinfo.dat", "index"}) {
    dir.Write(std::string("datafiles/") + file, ReadFile(kDemo + "/datafiles/" + file));
  }
  // Values as the demo's files give them, a clone showing its parent's entries,
  // and an entry hidden by an earlier one.
  const std::vector<std::tuple<const char*, std::string SharedState::*, std::string>> values = {
      {"gng", &SharedState::GameTitle, "Graves 'n Gargoyles (World)"},
      {"gng", &SharedState::Controls, "Joystick 8-way"},
      {"starfort", &SharedState::GameTitle, "Star Fortress: Caf\xE9 Orbital Edition"},
      {"starfort", &SharedState::Orientation, "Vertical"},
      {"nightclb", &SharedState::Category, "Casino / Cards"},
      {"tinyrace", &SharedState::HistoryText, ""},
      {"tinyrace", &SharedState::Players, "1P"},
      {"gngj", &SharedState::CloneOf, "gng"}};
  for (const auto& [name, field, value] : values) {
    SharedState state;
    state.ProgramFolder = dir.Str();
    Main(state, name);
    EXPECT_EQ(state.*field, value) << name;
    EXPECT_TRUE(std::string(name) != "nightclb" || (state.IsMature && state.HistoryText.find("later, short") == std::string::npos));
  }
  for (const char* notAGame : {"lumenbio", "m6809"}) {
    SharedState state;
    state.ProgramFolder = dir.Str();
    EXPECT_EQ(Main(state, notAGame), StartupOutcome::SilentStop) << notAGame;
  }
}

}  // namespace
}  // namespace zorv::index
