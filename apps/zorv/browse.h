#pragma once
// zorv --browse [/SWITCH]...: the game browser over the collection the
// program folder holds; each game's sheet opens with the switches.
#include <chrono>

namespace zorv {

int RunBrowser(int argc, char** argv, std::chrono::steady_clock::time_point started);

}  // namespace zorv
