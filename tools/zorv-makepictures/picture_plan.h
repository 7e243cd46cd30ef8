#pragma once
// Which pictures the tool makes for a game: per category a format and a size.
#include <string_view>
#include <vector>

#include "artwork.h"
#include "picture_formats.h"

namespace zorv::pictures {

struct PlannedPicture {
  Category category;
  PictureFormat format;
  int width;
  int height;
  bool roundCorners;  // cut the corners transparent (for formats that show it)
};

// The demo games get a mix chosen to cover every format the viewer reads; any
// other game gets plain 8-bit PNG files with a JPEG flyer.
std::vector<PlannedPicture> PlanFor(std::string_view romName);

}  // namespace zorv::pictures
