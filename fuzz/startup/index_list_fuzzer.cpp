// The game browser's list of any index, read a piece at a time by several
// threads, against the sheet's own reading of each of its games: the same
// games in the same order, with the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_folder.h"
#include "platform/run_time_error.h"
#include "startup/game_index.h"
#include "startup/game_list.h"
#include "startup/index_in_memory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto folder = zorv::fuzz::FreshFolder();
  zorv::fuzz::WriteFile(folder / "datafiles/index", data, size);
  const zorv::GameList list = zorv::ReadGameList((folder / "datafiles/index").string());

  const zorv::IndexInMemory sheets(std::string(reinterpret_cast<const char*>(data), size));
  std::size_t listed = 0;
  std::size_t unreadable = 0;
  for (const std::string& name : sheets.RomNames()) {
    zorv::SharedState game;
    game.HeldLog.emplace();
    game.GameRecord = sheets.FindRecord(name + ";");
    try {
      zorv::ReadGameFields(*sheets.Lists(), game);
    } catch (const std::exception&) {
      ++unreadable;
      continue;
    }
    const zorv::GameListEntry expected = zorv::ListEntryOf(name, game);
    if (listed >= list.Games.size()) std::abort();
    const zorv::GameListEntry& row = list.Games[listed++];
    if (row.RomName() != expected.RomName() || row.Title() != expected.Title() ||
        row.CloneOf() != expected.CloneOf() || row.Manufacturer() != expected.Manufacturer() ||
        row.Year() != expected.Year() || row.Genre() != expected.Genre() || row.Category() != expected.Category() ||
        row.Mechanical() != expected.Mechanical()) {
      std::abort();
    }
  }
  if (listed != list.Games.size() || unreadable != list.UnreadableRecords) std::abort();
  return 0;
}
