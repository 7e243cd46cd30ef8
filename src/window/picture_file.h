#pragma once
// A report picture's data as a picture file that viewers open: PNG and JPEG data
// as they stand, a device-independent bitmap with the bitmap file header it
// lacks. Metafiles and raw device bitmaps make no file.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "richtext/document.h"

namespace zorv {

struct PictureFile {
  std::string_view extension;  // ".png", ".jpg" or ".bmp"
  std::vector<std::uint8_t> bytes;
};

std::optional<PictureFile> PictureFileOf(const richtext::Picture& picture);

}  // namespace zorv
