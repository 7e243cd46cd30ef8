#include "png/picture_rows.h"

#include <utility>

#include "platform/huge_pages.h"

namespace zorv::png {

PictureRows::PictureRows(std::int64_t width, std::int64_t height, std::vector<std::uint32_t> storage)
    : width_(static_cast<std::size_t>(width)) {
  const std::size_t pixels = width_ * static_cast<std::size_t>(height);
  picture_.width = static_cast<std::int32_t>(width);
  picture_.height = static_cast<std::int32_t>(height);
  picture_.pixels = std::move(storage);
  inPlace_ = FitsInPlace(picture_.pixels, pixels);
  if (inPlace_) {
    picture_.pixels.resize(pixels);
  } else {
    std::vector<std::uint32_t>().swap(picture_.pixels);
    picture_.pixels.reserve(pixels);
    AskForHugePages(picture_.pixels.data(), pixels * sizeof(std::uint32_t));
    aside_.resize(width_);
  }
}

Image PictureRows::Take() && { return std::move(picture_); }

}  // namespace zorv::png
