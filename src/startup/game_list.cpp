#include "startup/game_list.h"

#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "startup/game_index.h"
#include "startup/index_in_memory.h"
#include "startup/shared_state.h"

namespace zorv {

GameList ReadGameList(std::string_view indexPath) {
  if (FileLength(indexPath) > kLargestGameIndex) throw RunTimeError(ErrorCode::OutOfMemory);
  const IndexInMemory index(ReadWholeFile(indexPath));
  GameList list;
  list.Games.reserve(index.GameRecords().size());
  SharedState game;
  // A list field that cannot be read is an empty value here; its log line
  // belongs to a run that shows the sheet.
  game.HeldLog.emplace();
  for (std::size_t i = 0; i < index.GameRecords().size(); ++i) {
    game.GameRecord = index.GameRecords()[i];
    game.HeldLog->clear();
    try {
      ReadGameFields(*index.Lists(), game);
    } catch (const std::exception&) {
      ++list.UnreadableRecords;
      continue;
    }
    // The first ";W" is the field, as for every letter.
    const std::size_t field = game.GameRecord.find(kMechanicalField.substr(0, 2));
    const bool mechanical = field != std::string::npos && game.GameRecord.compare(field, 3, kMechanicalField) == 0;
    list.Games.push_back(GameListEntry{index.RomNames()[i], std::move(game.GameTitle), std::move(game.CloneOf),
                                       std::move(game.Manufacturer), std::move(game.Year), std::move(game.Genre),
                                       std::move(game.Category), mechanical});
  }
  return list;
}

}  // namespace zorv
