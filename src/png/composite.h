#pragma once
// Blending transparent and semi-transparent pixels onto what lies behind the
// image, giving opaque 24-bit rows.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/colour.h"
#include "platform/image.h"
#include "png/byte_buffer.h"
#include "platform/picture_object.h"
#include "platform/screen_metrics.h"

namespace zorv::png {

struct Backdrop {
  PictureObject* picture = nullptr;  // the background picture, or none
  Colour colour = 0;                 // behind the image when there is no picture
  std::int32_t x = 0;                // where the image lies on the picture, in pixels
  std::int32_t y = 0;
  ScreenMetrics screen;
};

// What lies behind each row of a width x height image, in device colours
// (0x00RRGGBB), top row first: a background picture is first narrowed to the
// image plus 100 twips where it is wider, then the width x height pixels at
// (x, y) of it are taken; without a picture, the backdrop's colour. A capture
// of another size than asked for is no background at all: black.
class BackgroundRows {
 public:
  // A capture takes the memory of `*storage`, when given, and leaves it
  // empty; rows of one colour leave it as it is.
  BackgroundRows(const Backdrop& backdrop, std::int64_t width, std::int64_t height,
                 std::vector<std::uint32_t>* storage = nullptr);
  const std::uint32_t* Row(std::int64_t y) const {
    return haveCapture_ ? captured_.pixels.data() + static_cast<std::size_t>(y) * width_ : plain_.data();
  }
  // The captured background, to be blended onto in place and kept as the
  // picture; none when the rows are of one colour.
  Image* Capture() { return haveCapture_ ? &captured_ : nullptr; }

 private:
  std::size_t width_;
  Image captured_;
  bool haveCapture_ = false;
  std::vector<std::uint32_t> plain_;  // one row of the colour, or of black
};

// One row of `width` 8-bit RGBA pixels blended onto a row of background colours
// as CompositeOnBackground blends, written to `out` as device colours. `out`
// may be `background`: each pixel is read before its blend is written.
void BlendRgbaRowToColours(const std::uint8_t* rgba, const std::uint32_t* background, std::size_t width,
                           std::uint32_t* out);

// BGRA rows of width x height pixels, bottom row first, become BGR rows padded
// to 4 bytes in the same order. Each pixel is (C x A + (255 - A) x K + 255) / 256
// of its colour C and the background K of BackgroundRows. Pixels missing from
// the buffer stay zero.
void CompositeOnBackground(const Backdrop& backdrop, ByteBuffer& buffer, std::int64_t width,
                           std::int64_t height);

// The plain kernels of BlendRgbaRowToColours and of the blending of
// CompositeOnBackground (png/kernels.h).
namespace plain {
void BlendToColours(const std::uint8_t* rgba, const std::uint32_t* background, std::size_t width,
                    std::uint32_t* out);
void BlendBgra(const std::uint8_t* bgra, const std::uint8_t* background, std::uint8_t* out, std::size_t width);
}  // namespace plain

}  // namespace zorv::png
