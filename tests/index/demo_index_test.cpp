// The demo collection: its committed index is what the tool makes of the demo's
// files, and every demo game shows its own entries through start-up.
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

// The first entry naming `name`, found the plain way: the text from the line
// after the marker to the line break before "$end". A "$mame" line ended by
// CR LF makes the viewer start the text with "MAME v".
std::string EntryText(const std::string& file, const std::string& name, const std::string& marker) {
  for (std::size_t info = file.find("$info="); info != std::string::npos; info = file.find("\n$info=", info + 1)) {
    if (file[info] == '\n') ++info;
    const std::size_t namesEnd = file.find_first_of("\r\n", info);
    const std::string names = "," + file.substr(info + 6, namesEnd - info - 6) + ",";
    if (names.find("," + name + ",") == std::string::npos) continue;
    const std::size_t markerAt = file.find("\n" + marker, namesEnd - 1) + 1;
    const std::size_t textStart = file.find('\n', markerAt) + 1;
    const std::size_t end = file.find("\n$end", textStart - 1);
    std::string text = end < textStart ? "" : file.substr(textStart, end - textStart);
    if (text.ends_with('\r')) text.pop_back();
    const bool crLfAfterMarker = file[textStart - 2] == '\r';
    return (marker == "$mame" && crLfAfterMarker ? "MAME v" : "") + text;
  }
  return "";
}

TEST(DemoIndex, TheCommittedIndexIsWhatTheToolMakesOfTheDemoFiles) {
  TempFolder dir;
  BuildIndex({.listXml = kDemo + "/gamelist.xml", .history = kDemo + "/datafiles/history.dat",
              .mameinfo = kDemo + "/datafiles/mameinfo.dat", .catver = kDemo + "/catver.ini",
              .nplayers = kDemo + "/nplayers.ini", .romFolder = {}, .output = dir.Str() + "/index"});
  EXPECT_EQ(dir.Read("index"), ReadFile(kDemo + "/datafiles/index"))
      << "run demo/make-index.sh after changing the demo's files";
}

TEST(DemoIndex, EveryDemoGameShowsItsValuesAndEntries) {
  TempFolder dir;
  for (const char* file : {"history.dat", "mameinfo.dat", "index"}) {
    dir.Write(std::string("datafiles/") + file, ReadFile(kDemo + "/datafiles/" + file));
  }
  const std::string history = dir.Read("datafiles/history.dat");
  const std::string mameinfo = dir.Read("datafiles/mameinfo.dat");
  struct Game {
    const char* name;
    const char* parent;
  };
  for (const Game game : {Game{"gng", ""}, Game{"gngj", "gng"}, Game{"mazemnch", ""}, Game{"starfort", ""},
                          Game{"nightclb", ""}, Game{"tinyrace", ""}}) {
    SharedState state;
    state.ProgramFolder = dir.Str();
    ASSERT_EQ(Main(state, game.name), StartupOutcome::GameSheet) << game.name;
    const std::string entryName = *game.parent ? game.parent : game.name;
    EXPECT_EQ(state.CloneOf, game.parent);
    EXPECT_EQ(state.HistoryText, EntryText(history, entryName, "$bio")) << game.name;
    EXPECT_EQ(state.MameinfoText, EntryText(mameinfo, entryName, "$mame")) << game.name;
  }

  // Values as the demo's files give them, and an entry hidden by an earlier one.
  const std::vector<std::tuple<const char*, std::string SharedState::*, std::string>> values = {
      {"gng", &SharedState::GameTitle, "Graves 'n Gargoyles (World)"},
      {"gng", &SharedState::Controls, "Joystick 8-way"},
      {"starfort", &SharedState::GameTitle, "Star Fortress: Caf\xE9 Orbital Edition"},
      {"starfort", &SharedState::Orientation, "Vertical"},
      {"nightclb", &SharedState::Category, "Casino / Cards"},
      {"tinyrace", &SharedState::HistoryText, ""},
      {"tinyrace", &SharedState::Players, "1P"}};
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
