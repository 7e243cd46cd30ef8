// Generated collections go through the tool and come back through the viewer's
// own start-up code: every game must show exactly the values that went in.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>
#include <string>

#include "generated_collection.h"
#include "index_builder.h"
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

TEST(RoundTrip, RecordsFollowTheGameListAndEveryLineEndsWithCrLf) {
  TempFolder dir;
  const GeneratedCollection c = testing::GenerateCollection(4, 15);
  BuildIndex(testing::WriteCollection(dir, c));
  const std::string index = dir.Read("datafiles/index");
  ASSERT_FALSE(index.empty());
  EXPECT_TRUE(index.ends_with("\r\n"));
  std::vector<std::string> recordNames;
  std::size_t from = 0;
  for (std::size_t lineEnd; (lineEnd = index.find("\r\n", from)) != std::string::npos; from = lineEnd + 2) {
    const std::string line = index.substr(from, lineEnd - from);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    if (line == "[Manufacturer]") break;
    recordNames.push_back(line.substr(0, line.find(';')));
  }
  std::vector<std::string> gameNames;
  for (const ExpectedGame& game : c.games) gameNames.push_back(game.name);
  EXPECT_EQ(recordNames, gameNames);
  EXPECT_EQ(std::count(index.begin(), index.end(), '\n'), std::count(index.begin(), index.end(), '\r'));
}

TEST(RoundTrip, OnlyTheGameListIsRequired) {
  TempFolder dir;
  const GeneratedCollection c = testing::GenerateCollection(5, 5);
  IndexOptions options;
  options.listXml = dir.Write("list.xml", c.xml).string();
  options.output = dir.Str() + "/datafiles/index";
  dir.Write("datafiles/history.dat", c.history);  // present, but the index does not point into it
  BuildIndex(options);
  SharedState state;
  state.ProgramFolder = dir.Str();
  ASSERT_EQ(Main(state, c.games[0].name), StartupOutcome::GameSheet);
  EXPECT_EQ(state.GameTitle, c.games[0].title);
  EXPECT_EQ(state.HistoryText, "");
  EXPECT_EQ(state.MameinfoText, "");
  EXPECT_EQ(state.Genre, "");
  EXPECT_FALSE(state.RomAvailable);
}

}  // namespace
}  // namespace zorv::index
