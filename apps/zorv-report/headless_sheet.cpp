#include "headless_sheet.h"

#include <algorithm>

#include "picture_dimensions.h"

namespace zorv {
namespace {

// Measured on an 8000 x 8000 picture: the decoder's buffers and the box take
// about 9 bytes a pixel; a group made of the box's picture (RTF) adds its PNG
// data, its hex digits and the report's copy of it.
constexpr std::uint64_t kLinkedBytesPerPixel = 10;
constexpr std::uint64_t kEmbeddedBytesPerPixel = 16;

}  // namespace

std::uint64_t PictureMemory(const SharedState& state, bool linkedPictures) {
  std::uint64_t largest = 0;
  for (std::size_t i = 1; i < state.ImagePath.size(); ++i) {
    if (state.ImagePath[i].empty() || PictureHidden(state, i)) continue;
    if (const auto size = PictureDimensions(state.ImagePath[i])) {
      largest = std::max(largest, static_cast<std::uint64_t>(size->width) * static_cast<std::uint64_t>(size->height));
    }
  }
  return largest * (linkedPictures ? kLinkedBytesPerPixel : kEmbeddedBytesPerPixel);
}

HeadlessSheet::HeadlessSheet(SharedState& state, const RegionalSettings& regional, PictureLoader& loader,
                             bool linkedPictures, MemoryBudget* memory)
    : state_(state), screen_(), form_(state, screen_, regional) {
  form_.Load();
  if (memory != nullptr && !state.ShowUsage) memory_ = memory->Reserve(PictureMemory(state, linkedPictures));
  window_.emplace(state.BackColor, static_cast<std::int32_t>(form_.Layout().Width),
                  static_cast<std::int32_t>(form_.Layout().Height));
  pictures_.emplace(state, screen_, loader, *window_);
  sheetPictures_.emplace(state, *pictures_, screen_, linkedPictures);
  form_.Activate(*sheetPictures_);
}

}  // namespace zorv
