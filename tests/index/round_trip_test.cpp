// Generated collections go through the tool and come back through the viewer's
// own start-up code: every game must show exactly the values that went in.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>
#include <string>

#include "generated_collection.h"
#include "index_builder.h"
#include "startup/game_list.h"
#include "startup/startup.h"
#include "support/temp_folder.h"

namespace zorv::index {
namespace {

using testing::ExpectedGame;
using testing::GeneratedCollection;
using zorv::testing::TempFolder;

// The values a game sheet shows, in one order for both sides.
std::vector<std::string> ShownBy(const SharedState& s) {
  return {s.GameTitle, s.CloneOf, s.Manufacturer, s.Year, s.Orientation, s.Buttons, s.Controls, s.DriverStatus,
          s.Genre, s.Category, s.VersionAdded, s.Driver, s.Players, s.SaveState, s.HasCheat ? "cheat" : "",
          s.IsMature ? "mature" : "", s.HasHighscore ? "highscore" : "", s.RomAvailable ? "ROM" : "",
          s.HistoryText, s.MameinfoText};
}

std::vector<std::string> Expected(const ExpectedGame& g) {
  return {g.title, g.cloneOf, g.manufacturer, g.year, g.orientation, g.buttons, g.controls, g.driverStatus,
          g.genre, g.category, g.versionAdded, g.driver, g.players, g.saveState, "", g.mature ? "mature" : "", "",
          g.romAvailable ? "ROM" : "", g.history, g.mameinfo};
}

TEST(RoundTrip, EveryGameReadsBackThroughStartUpAsItWentIn) {
  for (unsigned seed : {1u, 2u, 3u}) {
    TempFolder dir;
    const GeneratedCollection c = testing::GenerateCollection(seed, 40);
    const IndexSummary summary = BuildIndex(testing::WriteCollection(dir, c));
    EXPECT_EQ(summary.games, c.games.size());
    EXPECT_EQ(summary.machinesPassedOver, c.notGames.size());
    for (const ExpectedGame& game : c.games) {
      SharedState state;
      state.ProgramFolder = dir.Str();
      ASSERT_EQ(Main(state, game.name), StartupOutcome::GameSheet) << game.name << ", seed " << seed;
      EXPECT_EQ(ShownBy(state), Expected(game)) << game.name << ", seed " << seed;
    }
    for (const std::string& name : c.notGames) {
      SharedState state;
      state.ProgramFolder = dir.Str();
      EXPECT_EQ(Main(state, name), StartupOutcome::SilentStop) << name;
    }
  }
}

TEST(RoundTrip, OnlyTheGameListIsRequired) {
  TempFolder dir;
  const GeneratedCollection c = testing::GenerateCollection(5, 5);
  dir.Write("datafiles/history.dat", c.history);  // present, but the index does not point into it
  BuildIndex({.listXml = dir.Write("list.xml", c.xml).string(), .history = {}, .mameinfo = {}, .catver = {},
              .nplayers = {}, .romFolders = {}, .output = dir.Str() + "/datafiles/index"});
  SharedState state;
  state.ProgramFolder = dir.Str();
  ASSERT_EQ(Main(state, c.games[0].name), StartupOutcome::GameSheet);
  EXPECT_EQ(state.GameTitle, c.games[0].title);
  EXPECT_EQ(state.HistoryText + state.MameinfoText + state.Genre + (state.RomAvailable ? "ROM" : ""), "");
}

TEST(RoundTrip, TheGameBrowserLearnsWhichMachinesAreMechanical) {
  TempFolder dir;
  std::filesystem::create_directories(dir.Path() / "datafiles");
  IndexOptions options;
  options.listXml = dir.Write("list.xml", "<mame><machine name=\"reels\" ismechanical=\"yes\">"
                                          "<description>Reels</description></machine><machine name=\"gng\">"
                                          "<description>Ghosts</description></machine></mame>")
                        .string();
  options.output = dir.Str() + "/datafiles/index";
  BuildIndex(options);
  const GameList list = ReadGameList(dir.Str() + "/datafiles/index");
  ASSERT_EQ(list.Games.size(), 2u);
  EXPECT_EQ(std::string(list.Games[0].RomName()) + (list.Games[0].Mechanical() ? " mechanical" : ""), "reels mechanical");
  EXPECT_EQ(std::string(list.Games[1].RomName()) + (list.Games[1].Mechanical() ? " mechanical" : ""), "gng");
  SharedState state;
  state.ProgramFolder = dir.Str();
  ASSERT_EQ(Main(state, "reels"), StartupOutcome::GameSheet) << "the viewer passes over the field";
  EXPECT_EQ(state.GameTitle, "Reels");
}

}  // namespace
}  // namespace zorv::index
