// Generated collections go through the tool and come back through the viewer's
// own start-up code: every game must show exactly the values that went in.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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

using Shown = std::map<std::string, std::string>;

Shown ShownBy(const SharedState& s) {
  return {{"B title", s.GameTitle},       {"S clone of", s.CloneOf},     {"C manufacturer", s.Manufacturer},
          {"D year", s.Year},             {"E orientation", s.Orientation}, {"F buttons", s.Buttons},
          {"G controls", s.Controls},     {"H status", s.DriverStatus}, {"I genre", s.Genre},
          {"J category", s.Category},     {"K version", s.VersionAdded}, {"N driver", s.Driver},
          {"O players", s.Players},       {"V save state", s.SaveState}, {"R cheat", s.HasCheat ? "yes" : "no"},
          {"L mature", s.IsMature ? "yes" : "no"}, {"P highscore", s.HasHighscore ? "yes" : "no"},
          {"U ROM", s.RomAvailable ? "yes" : "no"}, {"Q history", s.HistoryText}, {"U mameinfo", s.MameinfoText}};
}

Shown Expected(const ExpectedGame& g) {
  return {{"B title", g.title},          {"S clone of", g.cloneOf},     {"C manufacturer", g.manufacturer},
          {"D year", g.year},            {"E orientation", g.orientation}, {"F buttons", g.buttons},
          {"G controls", g.controls},    {"H status", g.driverStatus}, {"I genre", g.genre},
          {"J category", g.category},    {"K version", g.versionAdded}, {"N driver", g.driver},
          {"O players", g.players},      {"V save state", g.saveState}, {"R cheat", "no"},
          {"L mature", g.mature ? "yes" : "no"}, {"P highscore", "no"},
          {"U ROM", g.romAvailable ? "yes" : "no"}, {"Q history", g.history}, {"U mameinfo", g.mameinfo}};
}

// Lays the collection out as a collector would, with the data files where the
// viewer looks for them by default.
IndexOptions WriteCollection(const TempFolder& dir, const GeneratedCollection& c) {
  IndexOptions options;
  options.listXml = dir.Write("source/list.xml", c.xml).string();
  options.history = dir.Write("datafiles/history.dat", c.history).string();
  options.mameinfo = dir.Write("datafiles/mameinfo.dat", c.mameinfo).string();
  options.catver = dir.Write("source/catver.ini", c.catver).string();
  options.nplayers = dir.Write("source/nplayers.ini", c.nplayers).string();
  dir.Write("roms/readme.txt", "");
  for (const auto& file : c.romFiles) dir.Write("roms/" + file, "PK");
  options.romFolder = dir.Str() + "/roms";
  options.output = dir.Str() + "/datafiles/index";
  return options;
}

TEST(RoundTrip, EveryGameReadsBackThroughStartUpAsItWentIn) {
  for (unsigned seed : {1u, 2u, 3u}) {
    TempFolder dir;
    const GeneratedCollection c = testing::GenerateCollection(seed, 40);
    const IndexSummary summary = BuildIndex(WriteCollection(dir, c));
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
  BuildIndex(WriteCollection(dir, c));
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
