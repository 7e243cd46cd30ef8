#pragma once
// What the game browser shows when it opens: the collection's games, or, when
// there are none to show, what the user is to do.
#include <optional>
#include <string>

#include "startup/game_list.h"

namespace zorv {

// The command that makes a collection from the emulator's own set-up.
inline constexpr char kMakeCollectionCommand[] = "zorv-index --mame-ini";

struct CollectionGames {
  std::string ProgramFolder;
  // Present when the index could be read and holds at least one game.
  std::optional<GameList> Games;
  // Why there is no list, or what went wrong with a part of it; empty when
  // everything was read. Plain text, UTF-8.
  std::string Message;
};

// Loads the configuration of the collection in `programFolder` as every run
// does, finds its index and reads its games.
CollectionGames OpenCollection(const std::string& programFolder);

}  // namespace zorv
