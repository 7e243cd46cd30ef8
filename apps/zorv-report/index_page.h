#pragma once
// The export's index: index.html, a page with a heading that counts the games
// and a table of every game that is drawn as it scrolls into view; index.js, the
// small script that searches, sorts and filters it; games.js, the games as one
// compact data file. All three work from file:// with no server and no network.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "startup/game_list.h"

namespace zorv {

// One game of the index, as the game browser lists it, with its players; texts
// as the index holds them (Windows-1252). The machines the browser calls no
// game are hidden at first. No file name: the game's page was not written.
struct IndexPageRow {
  GameListEntry Game;
  std::string Players;
  std::string FileName;  // UTF-8
};

std::string IndexPage(const std::vector<IndexPageRow>& rows, std::int32_t language);
// The rows in the order of their ROM names, without regard to case.
std::string IndexData(const std::vector<IndexPageRow>& rows);
std::string_view IndexScript();

}  // namespace zorv
