#pragma once
#include <string_view>

#include "startup/shared_state.h"

namespace zorv {

inline constexpr std::string_view kRomNameEmptyMessage =
    "Rom name is empty. Please Type : ZORV.EXE Romname [/noimage /notitle /noflyer /nomarquee /nosnap "
    "/nocabinet /nocpanel /center /defaultrtf]";

// Sets RomName, ShowUsage and the switches from the command text. False when
// the ROM name is empty although the command text was not (only switches, or
// only quotes): the run stops there.
bool TakeCommandLineApart(SharedState& state, std::string_view commandText);

// Sets the switches found anywhere in `text`, without regard to case.
void TakeSwitches(SharedState& state, std::string_view text);

}  // namespace zorv
