// The game browser's list without a window: the games an index holds, with
// the values their sheets show; searching, sorting and the machines that are
// not games; and what the browser says when there is nothing to list.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "startup/game_index.h"
#include "startup/index_in_memory.h"
#include "startup/startup.h"
#include "support/temp_folder.h"
#include "window/collection_games.h"
#include "window/game_table.h"

namespace zorv::testing {
namespace {

std::vector<std::string> RomNames(const GameTable& table) {
  std::vector<std::string> names;
  for (std::size_t row = 0; row < table.RowCount(); ++row) names.emplace_back(table.Row(row).RomName());
  return names;
}

GameListEntry Game(std::string_view name, std::string_view title, std::string_view manufacturer,
                   std::string_view year = "", std::string_view category = "", bool mechanical = false) {
  return GameListEntry({.RomName = name,
                        .Title = title,
                        .Manufacturer = manufacturer,
                        .Year = year,
                        .Genre = category.substr(0, category.find(" / ")),
                        .Category = category,
                        .Mechanical = mechanical});
}

TEST(GameListTest, ListsEachRomOnceWithWhatItsSheetShows) {
  TempFolder collection;
  collection.Write("datafiles/index",
                   "gng;BGhosts'n Goblins;S;C1;D2;E0;F0;G0;H0;I1;J1;R0;L#;P0;Q0,0;U\r\n"
                   "gngt;BGhosts'n Goblins (bootleg);S#CLgng;C2;D1;E0;F0;G0;H0;I2;J2;R0;L#;P0;Q0,0;U\r\n"
                   "no semicolon at all\r\n"
                   "gng;BA second gng record;S;C2;D2;R0;L#;P0;Q0,0;U\r\n"
                   // Without C, D reads the first list: the sheet's own reading.
                   "noc;BNo maker;S;D1;R0;L#;P0;Q0,0;U\r\n"
                   "broken;BA title that never ends\r\n"
                   "[Manufacturer]\r\nCapcom\r\nBootleg\r\n[Year]\r\n1986\r\n1985\r\n"
                   "[Orientation]\r\n[Buttons]\r\n[Controls]\r\n[Status]\r\n"
                   "[Genre]\r\nPlatform\r\nElectromechanical\r\n[Category]\r\nPlatform / Run Jump\r\n"
                   "Electromechanical / Reels\r\n");
  CollectionGames opened = OpenCollection(collection.Str());
  ASSERT_TRUE(opened.Games) << opened.Message;
  EXPECT_EQ(opened.UnreadableRecords, 1u);
  EXPECT_NE(opened.Message.find("1 game record of "), std::string::npos) << opened.Message;
  std::vector<std::string> names;
  for (const GameListEntry& game : opened.Games->Machines()) {
    names.emplace_back(game.RomName());
    SharedState sheet;
    sheet.ProgramFolder = collection.Str();
    ASSERT_EQ(Main(sheet, std::string(game.RomName())), StartupOutcome::GameSheet) << game.RomName();
    EXPECT_EQ(std::string(game.Title()) + "|" + std::string(game.CloneOf()) + "|" + std::string(game.Manufacturer()) +
                  "|" + std::string(game.Year()) + "|" + std::string(game.Genre()) + "|" + std::string(game.Category()),
              sheet.GameTitle + "|" + sheet.CloneOf + "|" + sheet.Manufacturer + "|" + sheet.Year + "|" + sheet.Genre +
                  "|" + sheet.Category);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"gng", "gngt", "noc"}));
  EXPECT_EQ(opened.Games->Machines()[2].Year(), "Capcom");
}

// Each row of a game list as text, for comparing whole lists.
std::string RowText(const GameListEntry& game) {
  return std::string(game.RomName()) + "|" + std::string(game.Title()) + "|" + std::string(game.CloneOf()) + "|" +
         std::string(game.Manufacturer()) + "|" + std::string(game.Year()) + "|" + std::string(game.Genre()) + "|" +
         std::string(game.Category()) + (game.Mechanical() ? "|mechanical" : "");
}

TEST(GameListTest, AWholeIndexListsWhatEachSheetReads) {
  // Read a piece at a time by several threads, a large index must give the
  // rows the sheet's own record search gives, name by name.
  std::mt19937 random(7);
  std::string index;
  const char* const ends[] = {"\r\n", "\r"};
  for (int i = 0; i < 6000; ++i) {
    const int name = i % 2500 == 0 ? i : static_cast<int>(random() % 5000);  // most names again later
    switch (random() % 23) {
      case 0: index += "no semicolon " + std::to_string(i); break;
      case 1: index += ";BNo name;S;C1"; break;
      case 2: index += "g" + std::to_string(name) + ";BA title that never ends"; break;
      default:
        index += "g" + std::to_string(name) + ";BGame " + std::to_string(i) + "\n(lone LF);S#CLg" +
                 std::to_string(random() % 50) + ";C" + std::to_string(random() % 4) + ";D" +
                 std::to_string(random() % 3) + ";I" + std::to_string(random() % 3) + ";J2" +
                 (random() % 9 == 0 ? ";W1" : "") + ";R0;L#;P0;Q0,0;U";
    }
    index += ends[random() % 2];
  }
  index += "[Manufacturer]\r\nCapcom\r\nSega\rKonami\r\n[Year]\r\n1986\r\n1987\r\n[Orientation]\r\n[Buttons]\r\n"
           "[Controls]\r\n[Status]\r\n[Genre]\r\nPlatform\r\nElectromechanical\r\n[Category]\r\nA / B\r\nC\r\n";
  TempFolder collection;
  const std::string path = collection.Write("datafiles/index", index).string();

  const IndexInMemory sheets(index);
  std::vector<std::string> expected;
  std::size_t unreadable = 0;
  for (const std::string& name : sheets.RomNames()) {
    SharedState game;
    game.HeldLog.emplace();
    game.GameRecord = sheets.FindRecord(name + ";");
    try {
      ReadGameFields(*sheets.Lists(), game);
    } catch (const std::exception&) {
      ++unreadable;
      continue;
    }
    expected.push_back(RowText(ListEntryOf(name, game)));
  }
  const GameList list = ReadGameList(path);
  std::vector<std::string> listed;
  for (const GameListEntry& game : list.Games) listed.push_back(RowText(game));
  EXPECT_EQ(listed, expected);
  EXPECT_EQ(list.UnreadableRecords, unreadable);
  EXPECT_GT(unreadable, 10u);
  EXPECT_GT(index.size(), 4u << 16) << "the index is read in several pieces";
}

TEST(GameListTest, WithoutGamesTheBrowserSaysWhatToDo) {
  const struct {
    std::string index;  // the index file's text; "-" for none
    std::string said;
  } rows[] = {
      {"-", "There is no game collection in "},
      {"", " holds no games."},
      {"[Manufacturer]\r\nCapcom\r\n", " holds no games."},
      {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), " holds no games."},
      {"a;Bx\r\nb;By\r\n", " is damaged: none of its 2 game records can be read."},
  };
  for (const auto& row : rows) {
    TempFolder collection;
    if (row.index != "-") collection.Write("datafiles/index", row.index);
    const CollectionGames opened = OpenCollection(collection.Str());
    EXPECT_FALSE(opened.Games);
    EXPECT_NE(opened.Message.find(row.said), std::string::npos) << opened.Message;
    EXPECT_NE(opened.Message.find(kMakeCollectionCommand), std::string::npos) << opened.Message;
  }
  TempFolder collection;
  std::filesystem::create_directories(collection.Path() / "datafiles");
  std::filesystem::resize_file(collection.Write("datafiles/index", ""), kLargestGameIndex + 1);
  EXPECT_NE(OpenCollection(collection.Str()).Message.find("larger than any game index"), std::string::npos);
}

TEST(GameTableTest, SearchHoldsEveryWordWithoutRegardToCaseOrAccents) {
  GameTable table({Game("gng", "Ghosts'n Goblins (World)", "Capcom"), Game("pkmn", "Pok\xe9mon Stadium", "Nintendo"),
                   Game("sf2", "Street Fighter II", "Capcom"), Game("sfa", "Street Fighter Alpha", "Capcom"),
                   Game("oe", "C\x9cur \xc6ther", "Stra\xdf" "e")});
  const struct {
    std::string search;
    std::vector<std::string> shown;  // by title
  } rows[] = {
      {"", {"oe", "gng", "pkmn", "sfa", "sf2"}},
      {"capcom", {"gng", "sfa", "sf2"}},
      {"  FIGHTER   capcom ", {"sfa", "sf2"}},
      {"POK\xc9MON", {"pkmn"}},
      {"pokemon", {"pkmn"}},
      {"coeur aether strasse", {"oe"}},
      {"sf2", {"sf2"}},
      {"fighter ii", {"sf2"}},
      // Words never run from one field into the next.
      {"goblins (world)capcom", {}},
      {"zzz", {}},
  };
  for (const auto& row : rows) {
    table.Search(row.search);
    EXPECT_EQ(RomNames(table), row.shown) << row.search;
  }
}

TEST(GameTableTest, MachinesThatAreNotGamesShowOnlyWhenAsked) {
  GameTable table({Game("gng", "Ghosts'n Goblins", "Capcom", "1985", "Platform / Run Jump"),
                   Game("reels", "Lucky Reels", "Bally", "1978", "Electromechanical / Reels"),
                   Game("pin", "A Pinball", "Gottlieb", "1979", "Mechanical / Pinball"),
                   Game("neogeo", "Neo-Geo", "SNK", "1990", "System / BIOS"),
                   Game("z80", "Zilog Z80", "Zilog", "", "System / Device"),
                   Game("pda", "A Pocket Game", "Tiger", "1997", "Handheld / Pocket Device - Pad - PDA"),
                   // The game list called it mechanical when the index was made.
                   Game("slot", "A Slot", "Bally", "1980", "Slot Machine / Reels", true)});
  EXPECT_EQ(table.GameCount(), 2u);
  EXPECT_EQ(RomNames(table), (std::vector<std::string>{"pda", "gng"}));
  table.ShowNonGames(true);
  EXPECT_EQ(table.RowCount(), 7u);
  table.Search("reels");
  EXPECT_EQ(RomNames(table), std::vector<std::string>{"reels"});
}

TEST(GameTableTest, SortsByEachColumnWithEmptyValuesLast) {
  GameTable table({Game("b", "beta", "Zeta", "1990"), Game("a", "Alpha", "", "19??"), Game("c", "\xc9psilon", "eta", ""),
                   Game("d", "alpha", "Zeta", "1980")});
  const struct {
    GameColumn column;
    bool descending;
    std::vector<std::string> shown;
  } rows[] = {
      {GameColumn::Title, false, {"a", "d", "b", "c"}},
      {GameColumn::Title, true, {"c", "b", "a", "d"}},
      {GameColumn::RomName, true, {"d", "c", "b", "a"}},
      {GameColumn::Year, false, {"d", "b", "a", "c"}},
      {GameColumn::Manufacturer, false, {"c", "b", "d", "a"}},
      {GameColumn::Manufacturer, true, {"b", "d", "c", "a"}},
  };
  for (const auto& row : rows) {
    table.SortBy(row.column, row.descending);
    EXPECT_EQ(RomNames(table), row.shown) << static_cast<int>(row.column) << row.descending;
  }
  table.Search("zeta");
  EXPECT_EQ(RomNames(table), (std::vector<std::string>{"b", "d"})) << "a search keeps the order";
  EXPECT_EQ(table.RowOf("d"), 1u);
  EXPECT_EQ(table.RowOf("a"), std::nullopt);
}

}  // namespace
}  // namespace zorv::testing
