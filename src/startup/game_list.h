#pragma once
// The collection's games as a list: one row per ROM name of the index, with
// the values its sheet shows, for choosing a game to show.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "startup/shared_state.h"

namespace zorv {

// The values of one machine, as they are given.
struct GameListValues {
  std::string_view RomName = {}, Title = {}, CloneOf = {}, Manufacturer = {}, Year = {}, Genre = {}, Category = {};
  // The record carries kMechanicalField: the emulator's game list calls the
  // machine mechanical.
  bool Mechanical = false;
};

// One machine of the list. Its texts are Windows-1252, as the index holds
// them, kept back to back in one string: a whole game list is forty thousand
// of these, made at every start of the browser.
class GameListEntry {
 public:
  GameListEntry() = default;
  explicit GameListEntry(const GameListValues& values);

  std::string_view RomName() const { return Text(kRomName); }
  std::string_view Title() const { return Text(kTitle); }
  std::string_view CloneOf() const { return Text(kCloneOf); }
  std::string_view Manufacturer() const { return Text(kManufacturer); }
  std::string_view Year() const { return Text(kYear); }
  std::string_view Genre() const { return Text(kGenre); }
  std::string_view Category() const { return Text(kCategory); }
  bool Mechanical() const { return mechanical_; }

 private:
  enum Field { kRomName, kTitle, kCloneOf, kManufacturer, kYear, kGenre, kCategory, kFields };
  std::string_view Text(Field field) const;

  std::string texts_;
  std::array<std::uint32_t, kFields> ends_{};  // where each field's text ends in texts_
  bool mechanical_ = false;
};

// A field of zorv-index's own, which the viewer passes over like any letter it
// does not know.
inline constexpr std::string_view kMechanicalField = ";W1";

// The row of a game whose fields were read into `game`.
GameListEntry ListEntryOf(std::string_view romName, const SharedState& game);

// The index record `record` carries kMechanicalField as its W field.
bool MarkedMechanical(std::string_view record);

struct GameList {
  // The first record of each ROM name, in the order of the index.
  std::vector<GameListEntry> Games;
  // Records whose fields the sheet could not read (a text field without the
  // ";" that ends it): they have no sheet, so no row.
  std::size_t UnreadableRecords = 0;
};

// The largest index read for the list: over a hundred times a full game list.
inline constexpr std::uintmax_t kLargestGameIndex = 512ull << 20;

// Reads the index file at `indexPath`, a piece at a time, and takes every
// game's fields apart exactly as its sheet does. Error 53 when the file is missing, 75 when
// it cannot be read, 7 when it is larger than kLargestGameIndex.
GameList ReadGameList(std::string_view indexPath);

}  // namespace zorv
