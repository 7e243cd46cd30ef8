#pragma once
// Writes the index file: one record line per game, then thirteen lists that the
// records point into by line number. Everything written is checked against what
// the viewer can read back: no ";" inside a value (it ends fields), no CR or LF
// (they end lines), no list value that would pass for a list header, no ROM
// name twice (the viewer stops at the first record that matches).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "dat_scanner.h"
#include "list_table.h"

namespace zorv::index {

// One game's values, all Windows-1252 text.
struct GameValues {
  std::string romName;
  std::string title;         // B
  std::string cloneOf;       // S: the parent's ROM name
  std::string manufacturer;  // C, list 1
  std::string year;          // D, list 2
  std::string orientation;   // E, list 3
  std::string buttons;       // F, list 4
  std::string controls;      // G, list 5
  std::string driverStatus;  // H, list 6
  std::string genre;         // I, list 7
  std::string category;      // J, list 8
  std::string versionAdded;  // K, list 9
  std::string sourceFamily;  // M, list 10
  std::string driver;        // N, list 11
  std::string players;       // O, list 12
  std::string saveState;     // V, list 13
  bool isMechanical = false;  // W: "1" when the game list calls the machine mechanical
  bool hasCheat = false;      // R
  bool isMature = false;      // L
  bool hasHighscore = false;  // P
  bool romAvailable = false;  // the "*" that ends U
  std::optional<DataReference> history;   // Q
  std::optional<DataReference> mameinfo;  // U
};

inline constexpr std::size_t kListCount = 13;

// The list headers in the order the viewer reads the lists. Only the first is
// looked for by name; the others just have to be header lines.
inline constexpr std::array<std::string_view, kListCount> kListHeaders = {
    "[Manufacturer]", "[Year]",     "[Orientation]",   "[Buttons]",      "[Controls]",
    "[DriverStatus]", "[Genre]",    "[Category]",      "[VersionAdded]", "[SourceFamily]",
    "[Driver]",       "[Players]",  "[SaveState]"};

// A field value: ";" becomes ",", line breaks and other control characters
// become blanks.
std::string CleanTextValue(std::string_view value);

// A list value: cleaned as a field value, and a leading "[" becomes "(" so the
// line cannot end its list.
std::string CleanListValue(std::string_view value);

// A ROM name the viewer can find and use safely: not empty, no ";" (it ends the
// record key), no control character, and nothing that would lead a saved report
// or a picture look-up out of its folder ("\\", "/", ":", "..").
bool IsWritableRomName(std::string_view name);

class IndexWriter {
 public:
  // Throws zorv::RunTimeError for a ROM name that is not IsWritableRomName or
  // one already written.
  void AddGame(const GameValues& game);

  std::size_t GameCount() const { return romNames_.size(); }

  // The whole file, lines ended by CR LF.
  std::string Finish() const;

 private:
  std::string records_;
  std::array<ListTable, kListCount> lists_;
  std::unordered_set<std::string> romNames_;
};

}  // namespace zorv::index
