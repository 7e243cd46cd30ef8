#pragma once
// What the game browser shows when it opens: the collection's games, or, when
// there are none to show, what the user is to do.
#include <cstddef>
#include <optional>
#include <string>

#include "window/game_table.h"

namespace zorv {

// The command that makes a collection from the emulator's own set-up.
inline constexpr char kMakeCollectionCommand[] = "zorv-index --mame-ini";

struct CollectionGames {
  std::string ProgramFolder;
  // Present when the index could be read and holds at least one game: made
  // where the index is read, so the window's thread only shows it.
  std::optional<GameTable> Games;
  // Records whose fields the sheet could not read, so not listed.
  std::size_t UnreadableRecords = 0;
  // Why there is no list, or what went wrong with a part of it; empty when
  // everything was read. Plain text, UTF-8.
  std::string Message;
};

// Loads the configuration of the collection in `programFolder` as every run
// does, finds its index and reads its games.
CollectionGames OpenCollection(const std::string& programFolder);

}  // namespace zorv
