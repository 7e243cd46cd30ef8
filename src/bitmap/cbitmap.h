#pragma once
// The bitmap module: one device-independent bitmap description per depth
// (header and, for 1, 4 and 8 bits per pixel, a colour table) and the one
// device bitmap last made from decoded rows, until it is drawn into a picture
// box. One object serves every decoder of a process, one image at a time; the
// tables are never cleared, so entries an image does not set keep the values
// of earlier images.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "platform/device_bitmap.h"
#include "platform/image.h"
#include "platform/picture_box.h"
#include "platform/screen_metrics.h"

namespace zorv::bitmap {

template <std::size_t Entries>
struct BitmapInfo {
  BitmapInfoHeader header;
  std::array<RgbQuad, Entries> colours{};
};

using SizePair = std::pair<std::int32_t, std::int32_t>;

// The most pixels a device bitmap holds.
inline constexpr std::int64_t kLargestBitmapPixels = std::int64_t{1} << 28;

class CBitmap {
 public:
  explicit CBitmap(const ScreenMetrics& screen = ScreenMetrics{}) : screen_(screen) {}

  // Mode 0: white then black; 1: black then white; any other: both black.
  void SetMonoColours(int mode);
  // The two entries of a palette of exactly two colours; black and white otherwise.
  void SetMonoPalette(std::span<const std::uint8_t> palette);
  // The palette's first 16 or 256 colours; entries past its end become black.
  void SetPalette16(std::span<const std::uint8_t> palette);
  void SetPalette256(std::span<const std::uint8_t> palette);
  // Writes the grey levels of a bit depth into the colour table that the depth
  // and `narrowRowsAsBytes` select, and returns them as red, green, blue triples.
  std::vector<std::uint8_t> GreyRamp(int depth, bool narrowRowsAsBytes);

  // Each sets the header of its description and makes the device bitmap from
  // rows padded to 4 bytes; a description that shows nothing leaves no bitmap.
  void CreateBitmap1(std::span<const std::uint8_t> rows, std::int32_t width, std::int32_t height, bool topRowFirst);
  void CreateBitmap4(std::span<const std::uint8_t> rows, std::int32_t width, std::int32_t height, bool topRowFirst);
  void CreateBitmap8(std::span<const std::uint8_t> rows, std::int32_t width, std::int32_t height, bool topRowFirst);
  // Mode 0: 32 bits per pixel; 1: 24 bits per pixel; any other: nothing.
  void CreateBitmapTrue(std::span<const std::uint8_t> rows, std::int32_t width, std::int32_t height,
                        bool topRowFirst, int mode);
  // Sets the 24-bit description's header as CreateBitmapTrue (mode 1) does and
  // takes `picture`, already in device colours, as the device bitmap; a
  // picture a device bitmap could not hold leaves none.
  void TakeBitmapTrue(Image picture, bool topRowFirst);
  // Sets the 8-bit description's header as CreateBitmap8 does (top row first)
  // and takes `picture`, its indices already turned into colours through that
  // description's table, as the device bitmap.
  void TakeBitmap8(Image picture);

  // Sizes the box to the image (when `sizeToImage` and not `setToBackground`),
  // copies the device bitmap to (x, y), makes the drawing the box's picture and
  // releases the bitmap. Error 91 when there is no box.
  void DrawToPicBox(std::int32_t width, std::int32_t height, PictureBox* box, bool sizeToImage, std::int32_t x,
                    std::int32_t y, bool setToBackground);
  SizePair PixelsToTwips(std::int32_t width, std::int32_t height) const;
  // Whether PixelsToTwips takes the size without overflowing a Long.
  bool TwipsFit(std::int32_t width, std::int32_t height) const;
  SizePair TwipsToPixels(std::int32_t width, std::int32_t height) const;

  const BitmapInfo<2>& BitmapInfo1() const { return info1_; }
  const BitmapInfo<16>& BitmapInfo4() const { return info4_; }
  const BitmapInfo<256>& BitmapInfo8() const { return info8_; }
  const BitmapInfoHeader& BitmapHeader24() const { return header24_; }
  const BitmapInfoHeader& BitmapHeader32() const { return header32_; }
  // The device bitmap waiting to be drawn (the module's bitmap handle), if any.
  const std::optional<Image>& Bitmap() const { return bitmap_; }
  // Whether the last DrawToPicBox had a bitmap to copy (not only cleared and sized the box).
  bool LastDrawCopiedBitmap() const { return lastDrawCopiedBitmap_; }
  const zorv::ScreenMetrics& Screen() const { return screen_; }

 private:
  // The device bitmap is `picture`, or none when a device bitmap could not hold it.
  void TakePicture(Image picture);

  ScreenMetrics screen_;
  BitmapInfo<2> info1_;
  BitmapInfo<16> info4_;
  BitmapInfo<256> info8_;
  BitmapInfoHeader header24_;
  BitmapInfoHeader header32_;
  std::optional<Image> bitmap_;
  bool lastDrawCopiedBitmap_ = false;
};

// The number of grey levels of a bit depth (256 for 16 bits) and the grey of
// level `index`; nothing for a depth outside 1..16 or an index past the last level.
std::int32_t GreyLevelCount(int depth);
std::optional<std::uint8_t> GreyLevel(int depth, std::int64_t index);

}  // namespace zorv::bitmap
