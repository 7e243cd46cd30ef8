#pragma once
// zorv --browse [/SWITCH]...: the game browser over the collection the
// program folder holds; each game's sheet opens with the switches.
#include <chrono>
#include <string>

namespace zorv {

// Shows the browser over the collection in `collectionFolder`; `switches` go to each sheet it opens.
int RunBrowser(const std::string& collectionFolder, const std::string& switches, char* argv0,
               std::chrono::steady_clock::time_point started);

}  // namespace zorv
