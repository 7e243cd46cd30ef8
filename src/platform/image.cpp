#include "platform/image.h"

#include <utility>

#include "platform/huge_pages.h"

namespace zorv {

Image::Image(std::int32_t w, std::int32_t h, std::uint32_t fill, std::vector<std::uint32_t> storage)
    : width(w), height(h) {
  const std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  if (FitsInPlace(storage, count)) {
    pixels = std::move(storage);
  } else {
    // Storage that does not fit is let go before the new memory is taken.
    std::vector<std::uint32_t>().swap(storage);
    pixels.reserve(count);
    AskForHugePages(pixels.data(), count * sizeof(std::uint32_t));
  }
  pixels.assign(count, fill);
}

}  // namespace zorv
