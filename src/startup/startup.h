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

// The configuration of a run: the defaults, quorbis.inf, then Zorv.inf, with the
// language settled. Failures of Zorv.inf pass to the caller.
void LoadConfiguration(SharedState& state);

// One game of a run over the whole collection: `state` is a copy of the state
// the configuration and the run's switches were loaded into once, with `Files`
// set; the ROM name is taken as the index spells it, never as a command text
// (a name holding "/" is no switch). The rest is Main's work, with the files
// read from memory.
StartupOutcome MainForGame(SharedState& state, std::string_view romName);

}  // namespace zorv
