#pragma once
// Start-up: takes the command text apart, loads the configuration, gathers
// everything known about one game into the shared state and finds its pictures.
#include <string_view>

#include "startup/shared_state.h"

namespace zorv {

enum class StartupOutcome {
  UsageSheet,  // the command text was empty: the window shows the usage sheet
  GameSheet,   // the game was found: the window shows its report
  SilentStop,  // a failure was logged; no window
};

// `state.ProgramFolder` must be set; everything else is filled here. The command
// text is the arguments after the program's name as one string, quotes kept.
StartupOutcome Main(SharedState& state, std::string_view commandText);

// One game of a run over the whole collection: `state` is a copy of the state
// the configuration was loaded into once, with `Files` set; the rest is Main's
// work for this command text, with the files read from memory.
StartupOutcome MainForGame(SharedState& state, std::string_view commandText);

}  // namespace zorv
