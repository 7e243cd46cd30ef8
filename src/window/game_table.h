#pragma once
// The game browser's list without a window: which of the collection's games
// show for a search, and in which order. A search is typed a letter at a
// time, so each one goes over the whole collection in a few milliseconds.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "startup/game_list.h"

namespace zorv {

enum class GameColumn { RomName, Title, Year, Manufacturer, Category };
inline constexpr int kGameColumnCount = 5;

// A mechanical machine, a device or a BIOS, as the game list said when the
// index was made, or as the index's genre and category name them
// ("Electromechanical / Reels", "System / BIOS").
bool IsNotAGame(const GameListEntry& game);

class GameTable {
 public:
  // Shows the games (not the other machines) by title, all of them.
  explicit GameTable(std::vector<GameListEntry> games);

  std::size_t GameCount() const { return gameCount_; }
  std::size_t MachineCount() const { return games_.size(); }
  // Every machine, shown or not, in the order of the index.
  const std::vector<GameListEntry>& Machines() const { return games_; }

  std::size_t RowCount() const { return rows_.size(); }
  const GameListEntry& Row(std::size_t row) const { return games_[rows_[row]]; }
  static std::string_view Cell(const GameListEntry& game, GameColumn column);
  // The row that shows this ROM name, if it shows.
  std::optional<std::size_t> RowOf(std::string_view romName) const;

  // Keeps the games whose ROM name, title or manufacturer hold every word of
  // `text` (Windows-1252), without regard to case or accents.
  void Search(std::string_view text);
  void ShowNonGames(bool show);
  bool ShowsNonGames() const { return showNonGames_; }
  // Empty values come last either way; equal values go by ROM name.
  void SortBy(GameColumn column, bool descending);
  GameColumn SortColumn() const { return sortColumn_; }
  bool SortDescending() const { return descending_; }

 private:
  void Filter();
  // The folded lines of games_[game] that a search looks through.
  std::string_view Searched(std::size_t game) const;

  std::vector<GameListEntry> games_;
  std::vector<bool> notAGame_;
  std::size_t gameCount_ = 0;
  // Each game's ROM name, title and manufacturer folded for the search, each
  // ended by a CR, which no line of the index holds, so that no word runs
  // from one into the next; the games back to back, in the order of games_.
  std::string searched_;
  std::vector<std::size_t> searchedEnds_;
  std::vector<std::string> searchWords_;
  std::vector<std::uint32_t> order_;  // every machine, in the sort order
  std::vector<std::uint32_t> rows_;   // those shown, in the same order
  GameColumn sortColumn_ = GameColumn::Title;
  bool descending_ = false;
  bool showNonGames_ = false;
};

// Windows-1252 text in lower case without accents ("Pokémon" gives "pokemon"),
// for searches and sorting that people expect.
std::string FoldedForSearch(std::string_view text);

}  // namespace zorv
