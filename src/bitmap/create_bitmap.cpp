// Device bitmaps from decoded rows, through the description of their depth.
#include "bitmap/cbitmap.h"

#include <utility>

namespace zorv::bitmap {
namespace {

void SetHeader(BitmapInfoHeader& header, std::int32_t width, std::int32_t height, bool topRowFirst, int bits) {
  header = BitmapInfoHeader{};
  header.biSize = sizeof(BitmapInfoHeader);
  header.biWidth = width;
  header.biHeight = topRowFirst ? -height : height;
  header.biPlanes = 1;
  header.biBitCount = static_cast<std::uint16_t>(bits);
}

}  // namespace

void CBitmap::CreateBitmap1(std::span<const std::uint8_t> rows, std::int32_t width, std::int32_t height,
                            bool topRowFirst) {
  SetHeader(info1_.header, width, height, topRowFirst, 1);
  bitmap_ = CreateDeviceBitmap(info1_.header, info1_.colours, rows);
}

void CBitmap::CreateBitmap4(std::span<const std::uint8_t> rows, std::int32_t width, std::int32_t height,
                            bool topRowFirst) {
  SetHeader(info4_.header, width, height, topRowFirst, 4);
  bitmap_ = CreateDeviceBitmap(info4_.header, info4_.colours, rows);
}

void CBitmap::CreateBitmap8(std::span<const std::uint8_t> rows, std::int32_t width, std::int32_t height,
                            bool topRowFirst) {
  SetHeader(info8_.header, width, height, topRowFirst, 8);
  bitmap_ = CreateDeviceBitmap(info8_.header, info8_.colours, rows);
}

void CBitmap::CreateBitmapTrue(std::span<const std::uint8_t> rows, std::int32_t width, std::int32_t height,
                               bool topRowFirst, int mode) {
  if (mode == 0) {
    SetHeader(header32_, width, height, topRowFirst, 32);
    bitmap_ = CreateDeviceBitmap(header32_, {}, rows);
  } else if (mode == 1) {
    SetHeader(header24_, width, height, topRowFirst, 24);
    bitmap_ = CreateDeviceBitmap(header24_, {}, rows);
  }
}

void CBitmap::TakeBitmapTrue(Image picture, bool topRowFirst) {
  SetHeader(header24_, picture.width, picture.height, topRowFirst, 24);
  TakePicture(std::move(picture));
}

void CBitmap::TakeBitmap8(Image picture) {
  SetHeader(info8_.header, picture.width, picture.height, true, 8);
  TakePicture(std::move(picture));
}

void CBitmap::TakePicture(Image picture) {
  bitmap_.reset();
  if (picture.Empty() || std::int64_t{picture.width} * picture.height > kLargestBitmapPixels) return;
  bitmap_ = std::move(picture);
}

}  // namespace zorv::bitmap
