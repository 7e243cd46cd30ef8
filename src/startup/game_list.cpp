#include "startup/game_list.h"

#include <algorithm>
#include <thread>

#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "startup/game_index.h"
#include "startup/index_in_memory.h"
#include "startup/shared_state.h"

namespace zorv {
namespace {

// Reads the records [first, last) of the index into their places in `games`,
// each apart from the others; a record the sheet cannot read leaves its place
// unread.
void ReadRecords(const IndexInMemory& index, std::size_t first, std::size_t last, std::vector<GameListEntry>& games,
                 std::vector<char>& read) {
  SharedState game;
  // A list field that cannot be read is an empty value here; its log line
  // belongs to a run that shows the sheet.
  game.HeldLog.emplace();
  for (std::size_t i = first; i < last; ++i) {
    game.GameRecord = index.GameRecords()[i];
    game.HeldLog->clear();
    try {
      ReadGameFields(*index.Lists(), game);
    } catch (const std::exception&) {
      continue;
    }
    // The first ";W" is the field, as for every letter.
    const std::size_t field = game.GameRecord.find(kMechanicalField.substr(0, 2));
    const bool mechanical = field != std::string::npos && game.GameRecord.compare(field, 3, kMechanicalField) == 0;
    games[i] = GameListEntry{index.RomNames()[i],         std::move(game.GameTitle), std::move(game.CloneOf),
                             std::move(game.Manufacturer), std::move(game.Year),      std::move(game.Genre),
                             std::move(game.Category),     mechanical};
    read[i] = 1;
  }
}

}  // namespace

GameList ReadGameList(std::string_view indexPath) {
  if (FileLength(indexPath) > kLargestGameIndex) throw RunTimeError(ErrorCode::OutOfMemory);
  const IndexInMemory index(ReadWholeFile(indexPath));
  const std::size_t count = index.GameRecords().size();
  GameList list;
  list.Games.resize(count);
  std::vector<char> read(count, 0);
  // The records are read apart from one another, so the processor's cores
  // share them: a whole game list is on the screen the sooner.
  const std::size_t parts = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
  const std::size_t share = std::max<std::size_t>((count + parts - 1) / parts, 1);
  {
    std::vector<std::jthread> helpers;
    for (std::size_t first = share; first < count; first += share) {
      helpers.emplace_back([&, first] { ReadRecords(index, first, std::min(count, first + share), list.Games, read); });
    }
    ReadRecords(index, 0, std::min(count, share), list.Games, read);
  }
  // The places of unreadable records close up, the others keep their order.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (!read[i]) continue;
    if (kept != i) list.Games[kept] = std::move(list.Games[i]);
    ++kept;
  }
  list.UnreadableRecords = count - kept;
  list.Games.resize(kept);
  return list;
}

}  // namespace zorv
