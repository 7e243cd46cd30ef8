#pragma once
// A picture in device colours built a row at a time, top row first, so that
// each pixel is written once into memory the size of the picture: in place
// when the storage handed in already holds that many pixels (the last picture
// of the box the new one replaces), else converted aside and appended (zeroing
// fresh storage first would be a second pass over it).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/image.h"

namespace zorv::png {

class PictureRows {
 public:
  PictureRows(std::int64_t width, std::int64_t height, std::vector<std::uint32_t> storage);

  // Hands `writeRow` the place of the next row, `Width` pixels to fill.
  template <typename WriteRow>
  void Append(const WriteRow& writeRow) {
    if (inPlace_) {
      writeRow(picture_.pixels.data() + rows_ * width_);
    } else {
      writeRow(aside_.data());
      picture_.pixels.insert(picture_.pixels.end(), aside_.begin(), aside_.end());
    }
    ++rows_;
  }

  // The picture, once every row is in.
  Image Take() &&;

 private:
  std::size_t width_;
  std::size_t rows_ = 0;
  bool inPlace_;
  Image picture_;
  std::vector<std::uint32_t> aside_;
};

}  // namespace zorv::png
