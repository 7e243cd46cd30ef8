#include <gtest/gtest.h>

#include <vector>

#include "platform/device_bitmap.h"

namespace zorv {
namespace {

BitmapInfoHeader Header(std::int32_t width, std::int32_t height, std::uint16_t bits) {
  BitmapInfoHeader header;
  header.biSize = 40;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = bits;
  return header;
}

TEST(CreateDeviceBitmap, RefusesWhatDescribesNoPicture) {
  const std::vector<std::uint8_t> rows(64, 0);
  const std::vector<RgbQuad> colours(256);
  struct Case {
    BitmapInfoHeader header;
    std::size_t colourCount;
    const char* why;
  };
  BitmapInfoHeader compressed = Header(2, 2, 24);
  compressed.biCompression = 1;
  const std::vector<Case> cases = {
      {Header(0, 2, 24), 0, "no width"},     {Header(2, 0, 24), 0, "no height"},
      {Header(2, 2, 16), 0, "16 bits"},      {compressed, 0, "compressed"},
      {Header(8, 8, 24), 0, "rows missing"}, {Header(2, 2, 8), 16, "colour table too short"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(CreateDeviceBitmap(c.header, std::span(colours).first(c.colourCount), rows)) << c.why;
  }
}

TEST(CreateDeviceBitmap, IndexedRowsTakeTheirColours) {
  std::vector<RgbQuad> colours(256);
  colours[1] = RgbQuad{3, 2, 1, 0};
  colours[2] = RgbQuad{6, 5, 4, 0};
  const std::vector<std::uint8_t> rows = {1, 2, 0, 0, 2, 1, 0, 0};
  const auto image = CreateDeviceBitmap(Header(2, 2, 8), colours, rows);  // bottom row first
  ASSERT_TRUE(image);
  EXPECT_EQ(image->At(0, 0), 0x040506U);
  EXPECT_EQ(image->At(1, 1), 0x040506U);
  EXPECT_EQ(image->At(0, 1), 0x010203U);
}

}  // namespace
}  // namespace zorv
