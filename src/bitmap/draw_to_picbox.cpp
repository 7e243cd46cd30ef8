// Drawing the device bitmap into a picture box, and the pixel-twip conversions
// that size the box.
#include <cmath>
#include <limits>
#include <utility>

#include "bitmap/cbitmap.h"
#include "platform/run_time_error.h"

namespace zorv::bitmap {
namespace {

bool FitsInLong(std::int64_t value) {
  return value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max();
}

std::int32_t CheckedLong(std::int64_t value) {
  if (!FitsInLong(value)) throw RunTimeError(ErrorCode::Overflow);
  return static_cast<std::int32_t>(value);
}

std::int32_t RoundedDivision(std::int32_t twips, std::int32_t twipsPerPixel) {
  if (twipsPerPixel == 0) throw RunTimeError(ErrorCode::Overflow);
  return CheckedLong(static_cast<std::int64_t>(std::nearbyint(static_cast<double>(twips) / twipsPerPixel)));
}

// Restores a scale mode when the drawing ends, however it ends.
template <typename Holder>
class ScaleModeGuard {
 public:
  ScaleModeGuard(Holder* holder, int mode) : holder_(holder) {
    if (holder_ == nullptr) return;
    saved_ = holder_->ScaleMode();
    holder_->SetScaleMode(mode);
  }
  ~ScaleModeGuard() {
    if (holder_ != nullptr) holder_->SetScaleMode(saved_);
  }
  ScaleModeGuard(const ScaleModeGuard&) = delete;
  ScaleModeGuard& operator=(const ScaleModeGuard&) = delete;

 private:
  Holder* holder_;
  int saved_ = 0;
};

}  // namespace

SizePair CBitmap::PixelsToTwips(std::int32_t width, std::int32_t height) const {
  return {CheckedLong(std::int64_t{width} * WholeTwipsPerPixel(screen_.TwipsPerPixelX)),
          CheckedLong(std::int64_t{height} * WholeTwipsPerPixel(screen_.TwipsPerPixelY))};
}

bool CBitmap::TwipsFit(std::int32_t width, std::int32_t height) const {
  return FitsInLong(std::int64_t{width} * WholeTwipsPerPixel(screen_.TwipsPerPixelX)) &&
         FitsInLong(std::int64_t{height} * WholeTwipsPerPixel(screen_.TwipsPerPixelY));
}

SizePair CBitmap::TwipsToPixels(std::int32_t width, std::int32_t height) const {
  return {RoundedDivision(width, WholeTwipsPerPixel(screen_.TwipsPerPixelX)),
          RoundedDivision(height, WholeTwipsPerPixel(screen_.TwipsPerPixelY))};
}

void CBitmap::DrawToPicBox(std::int32_t width, std::int32_t height, PictureBox* box, bool sizeToImage,
                           std::int32_t x, std::int32_t y, bool setToBackground) {
  if (box == nullptr) throw RunTimeError(ErrorCode::ObjectNotSet);
  box->Cls();
  {
    // A box in a container takes its outer size in the container's units.
    ScaleModeGuard<PictureContainer> parentMode(box->Parent(), kScaleTwips);
    ScaleModeGuard<PictureBox> boxMode(box, kScaleTwips);

    SizePair twips{0, 0};
    if (sizeToImage) {
      twips = PixelsToTwips(width, height);
      if (!setToBackground) {
        box->SetHeight(twips.second);
        box->SetWidth(twips.first);
      }
    }
    SizePair destination = twips;
    SizePair source{width, height};
    if (setToBackground) {
      // The copy is given the image's size in twips for both rectangles.
      source = twips;
    } else if (box->Height() == box->ScaleHeight()) {
      box->SetScaleMode(kScalePixels);
      destination = {box->ScaleWidth(), box->ScaleHeight()};
    } else {
      // A box with a border grows by it, so that its inner area is the image.
      destination = TwipsToPixels(box->Width(), box->Height());
      box->SetHeight(CheckedLong(std::int64_t{box->Height()} + box->Height() - box->ScaleHeight()));
      box->SetWidth(CheckedLong(std::int64_t{box->Width()} + box->Width() - box->ScaleWidth()));
    }

    lastDrawCopiedBitmap_ = bitmap_.has_value();
    if (bitmap_) {
      box->StretchCopy(std::move(*bitmap_), x, y, destination.first, destination.second, 0, 0, source.first, source.second);
      bitmap_.reset();
    }
  }
  box->KeepImageAsPicture();
}

}  // namespace zorv::bitmap
