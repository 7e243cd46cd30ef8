#pragma once
// What the decoder needs of a window or picture that lies behind a transparent
// image: its outer size in twips (which the compositing may shrink) and a copy
// of an area of what it shows. The report window and a picture box are such
// objects; a plain colour stands in for them in tools and tests.
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/colour.h"
#include "platform/image.h"

namespace zorv {

class PictureObject {
 public:
  virtual ~PictureObject() = default;

  virtual std::int32_t Width() const = 0;  // outer size in twips
  virtual std::int32_t Height() const = 0;
  virtual void SetWidth(std::int32_t twips) = 0;
  virtual void SetHeight(std::int32_t twips) = 0;

  // The width x height pixels at (x, y) of what the object shows; what lies
  // outside the object reads black. The capture takes the memory of `storage`
  // where it fits (Image's constructor).
  virtual Image Capture(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                        std::vector<std::uint32_t> storage) const = 0;
};

// A window that shows one colour everywhere.
class PlainColourPicture final : public PictureObject {
 public:
  explicit PlainColourPicture(Colour colour, std::int32_t widthTwips = 0, std::int32_t heightTwips = 0)
      : colour_(colour), width_(widthTwips), height_(heightTwips) {}

  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  void SetWidth(std::int32_t twips) override { width_ = twips; }
  void SetHeight(std::int32_t twips) override { height_ = twips; }
  Image Capture(std::int32_t, std::int32_t, std::int32_t width, std::int32_t height,
                std::vector<std::uint32_t> storage) const override {
    return Image(width, height, PackRgb(RedOf(colour_), GreenOf(colour_), BlueOf(colour_)), std::move(storage));
  }

 private:
  Colour colour_;
  std::int32_t width_;
  std::int32_t height_;
};

}  // namespace zorv
