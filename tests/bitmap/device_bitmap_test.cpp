// Device bitmaps of every depth from rows and a colour table of exactly the
// entries the depth has, as the bitmap module hands them over.
#include <gtest/gtest.h>

#include <vector>

#include "platform/device_bitmap.h"

namespace zorv {
namespace {

struct Case {
  const char* name;
  std::uint16_t bits;
  std::int32_t width, height;  // negative height: top row first
  std::vector<std::uint8_t> rows;
  std::vector<std::uint32_t> expected;  // top row first
};

// Entry i of a colour table is grey 10 i, but for the last, which is red.
std::vector<RgbQuad> Colours(std::size_t entries) {
  std::vector<RgbQuad> colours(entries);
  for (std::size_t i = 0; i < entries; ++i) {
    const auto level = static_cast<std::uint8_t>(10 * i);
    colours[i] = i + 1 == entries ? RgbQuad{0, 0, 255, 0} : RgbQuad{level, level, level, 0};
  }
  return colours;
}

TEST(DeviceBitmap, EachDepthTakesItsRowsAndAllOfItsColourTable) {
  const std::vector<Case> cases = {
      {"1 bit, 9 wide: the last entry is index 1", 1, 9, -1, {0b01010000, 0b10000000, 0, 0},
       {0, 0xFF0000, 0, 0xFF0000, 0, 0, 0, 0, 0xFF0000}},
      {"4 bits, bottom row first", 4, 3, 2, {0x0F, 0x10, 0, 0, 0x21, 0xF0, 0, 0},
       {0x141414, 0x0A0A0A, 0xFF0000, 0, 0xFF0000, 0x0A0A0A}},
      {"8 bits: index 255 is the last entry", 8, 2, -1, {255, 7, 0, 0}, {0xFF0000, 0x464646}},
      {"24 bits, blue first", 24, 2, -1, {1, 2, 3, 4, 5, 6, 0, 0}, {0x030201, 0x060504}},
      {"32 bits, the fourth byte ignored", 32, 1, 2, {1, 2, 3, 9, 4, 5, 6, 9}, {0x060504, 0x030201}},
  };
  for (const Case& c : cases) {
    BitmapInfoHeader header{sizeof(BitmapInfoHeader), c.width, c.height, 1, c.bits};
    const std::vector<RgbQuad> colours = c.bits <= 8 ? Colours(std::size_t{1} << c.bits) : std::vector<RgbQuad>{};
    const std::optional<Image> image = CreateDeviceBitmap(header, colours, c.rows);
    ASSERT_TRUE(image) << c.name;
    EXPECT_EQ(image->pixels, c.expected) << c.name;
    if (c.bits <= 8) {
      EXPECT_FALSE(CreateDeviceBitmap(header, std::span(colours).first(colours.size() - 1), c.rows))
          << c.name << ": a colour table one entry short";
    }
    EXPECT_FALSE(CreateDeviceBitmap(header, colours, std::span(c.rows).first(c.rows.size() - 1)))
        << c.name << ": rows one byte short";
  }
}

}  // namespace
}  // namespace zorv
