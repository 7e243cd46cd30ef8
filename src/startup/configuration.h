#pragma once
// The program's configuration: built-in defaults, then the companion program's
// quorbis.inf, then our own Zorv.inf, each overriding the one before.
#include <array>
#include <string>
#include <string_view>

#include "platform/colour.h"
#include "platform/screen_metrics.h"
#include "startup/shared_state.h"

namespace zorv {

// The keys of the six picture folders, by category (1 title screens, 2
// snapshots, 3 marquees, 4 cabinets, 5 control panels, 6 flyers), spelled as
// SaveConfig writes them; read without regard to case.
inline constexpr std::array<std::string_view, 7> kPictureKeys = {
    "", "TitlesPath", "SnapPath", "MarqueesPath", "CabinetsPath", "CpanelPath", "FlyersPath"};

// Sets the defaults, then reads quorbis.inf when the program folder holds one.
// A failure is logged as "ERROR A - n"; what was read so far stays.
void LoadSiblingConfig(SharedState& state);

// Reads the path keys of Zorv.inf when the program folder holds one. Failures
// pass to the caller.
void LoadConfig(SharedState& state);

// Creates or replaces Zorv.inf with the current settings.
void SaveConfig(const SharedState& state, const ScreenMetrics& screen);

// The text of Zorv.inf as SaveConfig writes it, CR LF after every line.
std::string ConfigText(const SharedState& state, const ScreenMetrics& screen);

std::string AddTrailingBackslash(std::string_view text);

// The path up to and including its last "\"; a path without one unchanged.
std::string FolderOf(std::string_view path);

// The name of one of the eight colours, or an empty text.
std::string ColorName(Colour value);

// The colour of a name, read trimmed and without regard to case; black for any
// other text.
Colour ColorFromName(std::string_view name);

}  // namespace zorv
