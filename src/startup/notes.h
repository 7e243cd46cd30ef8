#pragma once
#include <string>

#include "startup/shared_state.h"

namespace zorv {

// The user's notes on one game from notes.txt (program folder, then its
// Datafiles folder): the lines after the first line that holds "[" + ROM name +
// "]", up to the next line whose first non-blank character is "[". Lines joined
// with CR LF. A read failure is logged as "ERROR C - n" and what was gathered so
// far is kept.
std::string GetNotes(SharedState& state, const std::string& romName);

}  // namespace zorv
