#pragma once
// Zorv.Log.txt in the program folder: every failure of a run becomes one line,
// under one line with the run's date and time.
#include <string_view>

#include "startup/shared_state.h"

namespace zorv {

// Appends the message, first the run header when this run has not logged yet.
// The file is opened and closed for each message. A failure to write passes to
// the caller.
void WriteLog(SharedState& state, std::string_view message);

// "ERROR " + letter + " - " + number, the line every trapped failure leaves.
void LogError(SharedState& state, char letter, int number) noexcept;

}  // namespace zorv
