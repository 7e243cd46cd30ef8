#pragma once
// The pixel size a picture file says it has, read from its header without
// decoding it: what loading it will take in memory is known beforehand.
#include <optional>
#include <string>

#include "window/shown_picture_size.h"

namespace zorv {

// `path` as ImagePath holds it: a file, or a picture in an archive. Empty when
// the file cannot be read or says no size (it will then fail to load too).
std::optional<PixelSize> PictureDimensions(const std::string& path);

}  // namespace zorv
