#include "platform/picture_box.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zorv {

std::int32_t WholeTwipsPerPixel(float twipsPerPixel) {
  return static_cast<std::int32_t>(std::nearbyint(twipsPerPixel));
}

PictureBox::PictureBox(const ScreenMetrics& screen, PictureContainer* parent, std::int32_t borderPixels,
                       std::uint32_t backColour)
    : screen_(&screen), parent_(parent), border_(borderPixels), backColour_(backColour) {}

std::int32_t PictureBox::TwipsPerPixelX() const { return std::max(1, WholeTwipsPerPixel(screen_->TwipsPerPixelX)); }
std::int32_t PictureBox::TwipsPerPixelY() const { return std::max(1, WholeTwipsPerPixel(screen_->TwipsPerPixelY)); }

bool PictureBox::ContainerInPixels() const { return parent_ != nullptr && parent_->ScaleMode() == kScalePixels; }

std::int32_t PictureBox::Width() const {
  return ContainerInPixels() ? widthTwips_ / TwipsPerPixelX() : widthTwips_;
}
std::int32_t PictureBox::Height() const {
  return ContainerInPixels() ? heightTwips_ / TwipsPerPixelY() : heightTwips_;
}

void PictureBox::SetWidth(std::int32_t size) {
  widthTwips_ = ContainerInPixels() ? size * TwipsPerPixelX() : size;
  ResizeSurface();
  ++revision_;
}
void PictureBox::SetHeight(std::int32_t size) {
  heightTwips_ = ContainerInPixels() ? size * TwipsPerPixelY() : size;
  ResizeSurface();
  ++revision_;
}

std::int32_t PictureBox::InnerPixelWidth() const {
  return std::max(0, widthTwips_ / TwipsPerPixelX() - 2 * border_);
}
std::int32_t PictureBox::InnerPixelHeight() const {
  return std::max(0, heightTwips_ / TwipsPerPixelY() - 2 * border_);
}

std::int32_t PictureBox::ScaleWidth() const {
  return scaleMode_ == kScalePixels ? InnerPixelWidth() : InnerPixelWidth() * TwipsPerPixelX();
}
std::int32_t PictureBox::ScaleHeight() const {
  return scaleMode_ == kScalePixels ? InnerPixelHeight() : InnerPixelHeight() * TwipsPerPixelY();
}

void PictureBox::Cls() {
  surface_.reset();
  ++revision_;
}

zorv::Image& PictureBox::MaterialSurface() const {
  if (!surface_) surface_ = std::make_shared<zorv::Image>(InnerPixelWidth(), InnerPixelHeight(), backColour_);
  return *surface_;
}

zorv::Image& PictureBox::WritableSurface() {
  MaterialSurface();
  if (surface_.use_count() > 1) surface_ = std::make_shared<zorv::Image>(*surface_);
  return *surface_;
}

const zorv::Image& PictureBox::Image() const { return MaterialSurface(); }

const zorv::Image& PictureBox::Picture() const {
  static const zorv::Image kNone;
  return picture_ ? *picture_ : kNone;
}

void PictureBox::SetPicture(zorv::Image picture) {
  // (Not a const object: ReleasePicturePixels may move its pixels out.)
  picture_ = std::make_shared<zorv::Image>(std::move(picture));
  ++revision_;
}

void PictureBox::KeepImageAsPicture() {
  MaterialSurface();
  picture_ = surface_;
  ++revision_;
}

std::vector<std::uint32_t> PictureBox::ReleasePicturePixels() {
  const long holders = surface_ == picture_ ? 2 : 1;
  if (!picture_ || (surface_ && surface_ != picture_) || picture_.use_count() != holders) return {};
  // Only the box holds the picture, so its pixels may move out of it.
  std::vector<std::uint32_t> pixels = std::move(const_cast<zorv::Image&>(*picture_).pixels);
  surface_.reset();
  picture_.reset();
  ++revision_;
  return pixels;
}

// The surface follows the inner size; what was drawn stays at the top left.
void PictureBox::ResizeSurface() {
  if (!surface_) return;  // a blank surface takes its size when it is filled in
  const std::int32_t width = InnerPixelWidth();
  const std::int32_t height = InnerPixelHeight();
  const zorv::Image& old = *surface_;
  if (width == old.width && height == old.height) return;
  auto resized = std::make_shared<zorv::Image>(width, height, backColour_);
  const std::int32_t keepWidth = std::min(width, old.width);
  const std::int32_t keepHeight = std::min(height, old.height);
  if (keepWidth > 0) {
    for (std::int32_t y = 0; y < keepHeight; ++y) std::copy_n(&old.At(0, y), keepWidth, &resized->At(0, y));
  }
  surface_ = std::move(resized);
}

void PictureBox::StretchCopy(zorv::Image&& bitmap, std::int32_t x, std::int32_t y, std::int32_t destWidth,
                             std::int32_t destHeight, std::int32_t srcX, std::int32_t srcY, std::int32_t srcWidth,
                             std::int32_t srcHeight) {
  const bool coversSurface = x == 0 && y == 0 && srcX == 0 && srcY == 0 && destWidth == srcWidth &&
                             destHeight == srcHeight && srcWidth == bitmap.width && srcHeight == bitmap.height &&
                             bitmap.width == InnerPixelWidth() && bitmap.height == InnerPixelHeight();
  if (coversSurface) {
    surface_ = std::make_shared<zorv::Image>(std::move(bitmap));
    ++revision_;
    return;
  }
  StretchCopy(static_cast<const zorv::Image&>(bitmap), x, y, destWidth, destHeight, srcX, srcY, srcWidth, srcHeight);
}

void PictureBox::StretchCopy(const zorv::Image& bitmap, std::int32_t x, std::int32_t y, std::int32_t destWidth,
                             std::int32_t destHeight, std::int32_t srcX, std::int32_t srcY, std::int32_t srcWidth,
                             std::int32_t srcHeight) {
  if (destWidth <= 0 || destHeight <= 0 || srcWidth <= 0 || srcHeight <= 0) return;
  ++revision_;
  zorv::Image& surface = WritableSurface();
  if (destWidth == srcWidth && destHeight == srcHeight) {
    CopyUnscaled(bitmap, x, y, srcX, srcY, srcWidth, srcHeight);
    return;
  }
  for (std::int32_t dy = 0; dy < destHeight; ++dy) {
    const std::int64_t ty = std::int64_t{y} + dy;
    const std::int64_t sy = srcY + std::int64_t{dy} * srcHeight / destHeight;
    if (ty < 0 || ty >= surface.height || sy < 0 || sy >= bitmap.height) continue;
    for (std::int32_t dx = 0; dx < destWidth; ++dx) {
      const std::int64_t tx = std::int64_t{x} + dx;
      const std::int64_t sx = srcX + std::int64_t{dx} * srcWidth / destWidth;
      if (tx < 0 || tx >= surface.width || sx < 0 || sx >= bitmap.width) continue;
      surface.At(static_cast<std::int32_t>(tx), static_cast<std::int32_t>(ty)) =
          bitmap.At(static_cast<std::int32_t>(sx), static_cast<std::int32_t>(sy));
    }
  }
}

// The common case of a copy at the bitmap's own size, a row at a time.
void PictureBox::CopyUnscaled(const zorv::Image& bitmap, std::int32_t x, std::int32_t y, std::int32_t srcX,
                              std::int32_t srcY, std::int32_t width, std::int32_t height) {
  zorv::Image& surface = WritableSurface();
  const std::int64_t left = std::max<std::int64_t>({0, -std::int64_t{x}, -std::int64_t{srcX}});
  const std::int64_t right = std::min<std::int64_t>(
      {std::int64_t{width}, std::int64_t{surface.width} - x, std::int64_t{bitmap.width} - srcX});
  if (right <= left) return;
  for (std::int64_t row = 0; row < height; ++row) {
    const std::int64_t ty = y + row;
    const std::int64_t sy = srcY + row;
    if (ty < 0 || ty >= surface.height || sy < 0 || sy >= bitmap.height) continue;
    std::copy_n(&bitmap.At(static_cast<std::int32_t>(srcX + left), static_cast<std::int32_t>(sy)), right - left,
                &surface.At(static_cast<std::int32_t>(x + left), static_cast<std::int32_t>(ty)));
  }
}

zorv::Image PictureBox::Capture(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                                std::vector<std::uint32_t> storage) const {
  const zorv::Image& surface = MaterialSurface();
  zorv::Image area(width, height, 0, std::move(storage));
  for (std::int32_t row = 0; row < height; ++row) {
    const std::int64_t sy = std::int64_t{y} + row;
    if (sy < 0 || sy >= surface.height) continue;
    for (std::int32_t column = 0; column < width; ++column) {
      const std::int64_t sx = std::int64_t{x} + column;
      if (sx < 0 || sx >= surface.width) continue;
      area.At(column, row) = surface.At(static_cast<std::int32_t>(sx), static_cast<std::int32_t>(sy));
    }
  }
  return area;
}

}  // namespace zorv
