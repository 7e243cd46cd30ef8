#pragma once
// The export's index: index.html, a page with a heading that counts the games
// and a table of every game that is drawn as it scrolls into view; index.js, the
// small script that searches, sorts and filters it; games.js, the games as one
// compact data file. All three work from file:// with no server and no network.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorv {

// What a machine is beyond a game; the index hides the others at first.
enum class MachineKind : std::uint8_t { Game, Mechanical, Device, Bios };

// One game of the index; texts as the index holds them (Windows-1252). No file
// name: the game's page was not written.
struct IndexPageRow {
  std::string RomName;
  std::string Title;
  std::string Year;
  std::string Manufacturer;
  std::string Category;
  std::string Players;
  std::string CloneOf;
  MachineKind Kind = MachineKind::Game;
  std::string FileName;  // UTF-8
};

// The kind from the record's T field (zorv-index writes ";TM" for a mechanical
// machine), else from its category ("System / BIOS", "System / Device").
MachineKind KindOf(std::string_view record, std::string_view category);

std::string IndexPage(const std::vector<IndexPageRow>& rows, std::int32_t language);
// The rows in the order of their ROM names, without regard to case.
std::string IndexData(const std::vector<IndexPageRow>& rows);
std::string_view IndexScript();

}  // namespace zorv
