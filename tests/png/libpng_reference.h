#pragma once
// The reference picture of a PNG file, decoded by libpng (tests only): samples
// reduced to their high byte, no gamma applied, transparency and alpha blended
// onto a background colour with the decoder's formula.
#include <optional>
#include <string>

#include "platform/colour.h"
#include "platform/image.h"

namespace zorv::png::testing {

// Nothing when libpng refuses the file.
std::optional<Image> LibpngPicture(const std::string& path, Colour background);

}  // namespace zorv::png::testing
