#pragma once
#include <array>
#include <string_view>

#include "startup/shared_state.h"

namespace zorv {

// Picture categories in the order they are handled everywhere: 1 title,
// 2 snapshot, 3 marquee, 4 cabinet, 5 control panel, 6 flyer.
inline constexpr int kPictureCategories = 6;

// For each category, the first of folder + ROM name + ".png", ".jpg", ".gif"
// that exists replaces the folder in ImagePath; none found leaves it empty.
// Beyond that: a game without such a file takes its picture from the folder's
// archive (startup/picture_archives.h), and a clone without any picture of a
// category takes its parent's (CloneOf) the same way.
void FindPictures(SharedState& state);

// True when `name` (a ROM name, a parent's name) names one file in a folder: it
// holds no folder separator, no drive's ":" and no "..", so a picture look-up or
// a saved report made of it cannot leave its folder.
bool IsNameOfOneFile(std::string_view name);

}  // namespace zorv
