#pragma once
// A picture box as the decoder draws into it: an outer size in its container's
// units, an optional border, an inner drawing surface (`Image`) and the picture
// it keeps (`Picture`). Sizes follow the scale modes of the box and of its
// container: 1 = twips, 3 = pixels.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/image.h"
#include "platform/picture_object.h"
#include "platform/screen_metrics.h"

namespace zorv {

enum ScaleModes : int { kScaleTwips = 1, kScalePixels = 3 };

// The window or frame a picture box sits in; only its scale mode matters here.
class PictureContainer {
 public:
  virtual ~PictureContainer() = default;
  virtual int ScaleMode() const = 0;
  virtual void SetScaleMode(int mode) = 0;
};

class PictureBox final : public PictureObject {
 public:
  // A box without a container stands for a form: its sizes are always twips.
  explicit PictureBox(const ScreenMetrics& screen, PictureContainer* parent = nullptr, std::int32_t borderPixels = 0,
                      std::uint32_t backColour = 0xFFFFFF);

  PictureContainer* Parent() const { return parent_; }
  int ScaleMode() const { return scaleMode_; }
  void SetScaleMode(int mode) { scaleMode_ = mode; }
  std::int32_t BorderPixels() const { return border_; }

  // Outer size, in the container's units.
  std::int32_t Width() const override;
  std::int32_t Height() const override;
  void SetWidth(std::int32_t size) override;
  void SetHeight(std::int32_t size) override;

  // Inner size, in the box's own scale mode.
  std::int32_t ScaleWidth() const;
  std::int32_t ScaleHeight() const;

  // Inner size in pixels: the size of `Image`.
  std::int32_t InnerPixelWidth() const;
  std::int32_t InnerPixelHeight() const;

  // Clears the drawing surface to the box's background colour.
  void Cls();
  // What the box shows, at its inner size in pixels.
  const zorv::Image& Image() const;
  // The picture the box keeps, as pixels at its own size.
  const zorv::Image& Picture() const;
  void SetPicture(zorv::Image picture);
  // Picture <- Image: the drawing persists as the box's picture.
  void KeepImageAsPicture();
  // The kept picture's pixels, for a drawing that replaces it, when nothing
  // outside the box holds them: the box is then blank and keeps no picture.
  // Nothing otherwise. A box that shows one picture after another so holds one
  // picture's memory at a time, not two, and no picture's memory goes back to
  // the system to be mapped in again for the next.
  std::vector<std::uint32_t> ReleasePicturePixels();

  // Copies the source area (srcX, srcY, srcWidth x srcHeight pixels) of a
  // bitmap onto the surface at (x, y), scaled to destWidth x destHeight by the
  // nearest pixel. Source pixels outside the bitmap and destination pixels
  // outside the surface are left out.
  void StretchCopy(const zorv::Image& bitmap, std::int32_t x, std::int32_t y, std::int32_t destWidth,
                   std::int32_t destHeight, std::int32_t srcX, std::int32_t srcY, std::int32_t srcWidth,
                   std::int32_t srcHeight);
  // The same for a bitmap that is released afterwards: one that covers the
  // whole surface at its own size becomes the surface without a copy.
  void StretchCopy(zorv::Image&& bitmap, std::int32_t x, std::int32_t y, std::int32_t destWidth,
                   std::int32_t destHeight, std::int32_t srcX, std::int32_t srcY, std::int32_t srcWidth,
                   std::int32_t srcHeight);

  zorv::Image Capture(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                      std::vector<std::uint32_t> storage) const override;

  // Changes whenever the box's size, surface or kept picture does: whoever
  // loads a file into it learns whether the file was drawn.
  std::uint64_t Revision() const { return revision_; }

 private:
  std::int32_t TwipsPerPixelX() const;
  std::int32_t TwipsPerPixelY() const;
  bool ContainerInPixels() const;
  void ResizeSurface();
  // The surface as pixels, filled in when it is blank.
  zorv::Image& MaterialSurface() const;
  // The surface for drawing: never shared with the kept picture.
  zorv::Image& WritableSurface();
  void CopyUnscaled(const zorv::Image& bitmap, std::int32_t x, std::int32_t y, std::int32_t srcX, std::int32_t srcY,
                    std::int32_t width, std::int32_t height);

  const ScreenMetrics* screen_;
  PictureContainer* parent_;
  std::int32_t border_;
  std::uint32_t backColour_;
  int scaleMode_ = kScaleTwips;
  std::int32_t widthTwips_ = 0;
  std::int32_t heightTwips_ = 0;
  // The surface and the kept picture share their pixels until one of them
  // changes; a blank surface (all background colour) has none yet.
  mutable std::shared_ptr<zorv::Image> surface_;
  std::shared_ptr<const zorv::Image> picture_;
  std::uint64_t revision_ = 0;
};

// Twips per pixel as whole numbers, rounded to the nearest (ties to even).
std::int32_t WholeTwipsPerPixel(float twipsPerPixel);

}  // namespace zorv
