#pragma once
// The collection's games as a list: one row per ROM name of the index, with
// the values its sheet shows, for choosing a game to show.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorv {

// Texts are Windows-1252, as the index holds them.
struct GameListEntry {
  std::string RomName;
  std::string Title;
  std::string CloneOf;
  std::string Manufacturer;
  std::string Year;
  std::string Genre;
  std::string Category;
  // The record carries kMechanicalField: the emulator's game list calls the
  // machine mechanical.
  bool Mechanical = false;
};

// A field of zorv-index's own, which the viewer passes over like any letter it
// does not know.
inline constexpr std::string_view kMechanicalField = ";W1";

struct GameList {
  // The first record of each ROM name, in the order of the index.
  std::vector<GameListEntry> Games;
  // Records whose fields the sheet could not read (a text field without the
  // ";" that ends it): they have no sheet, so no row.
  std::size_t UnreadableRecords = 0;
};

// The largest index read for the list: over a hundred times a full game list.
inline constexpr std::uintmax_t kLargestGameIndex = 512ull << 20;

// Reads the index file at `indexPath` whole and takes every game's fields
// apart exactly as its sheet does. Error 53 when the file is missing, 75 when
// it cannot be read, 7 when it is larger than kLargestGameIndex.
GameList ReadGameList(std::string_view indexPath);

}  // namespace zorv
