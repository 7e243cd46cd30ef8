#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "platform/run_time_error.h"
#include "png/deinterlace.h"

namespace zorv::png {
namespace {

using Bytes = ByteBuffer;

TEST(PassLineLength, ColumnsOfThePartialBlock) {
  struct Case {
    std::int64_t width, bits;
    int pass;
    std::int64_t expected;
  };
  const std::vector<Case> cases = {
      {1, 8, 1, 1},   {1, 8, 2, 0},   {5, 8, 2, 1},  {5, 8, 4, 1},   {5, 8, 6, 2},  {5, 8, 7, 5},
      {8, 24, 5, 12}, {13, 24, 1, 6}, {5, 2, 7, 2},  {10, 1, 7, 2},  {16, 4, 3, 2}, {17, 1, 1, 1},
      {3, 8, 3, 1},   {0, 8, 1, 0},   {9, 16, 4, 4}, {20, 8, 6, 10},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PassLineLength(c.width, c.bits, kPassColumns[c.pass - 1]), c.expected)
        << "width " << c.width << " bits " << c.bits << " pass " << c.pass;
  }
}

TEST(PassLineCount, RowsOfEachPass) {
  // Heights 1, 3 and 8 give these line counts for passes 1 to 7.
  const std::vector<std::pair<std::int64_t, std::vector<std::int64_t>>> cases = {
      {1, {1, 1, 0, 1, 0, 1, 0}},
      {3, {1, 1, 0, 1, 1, 2, 1}},
      {8, {1, 1, 1, 2, 2, 4, 4}},
      {13, {2, 2, 2, 4, 3, 7, 6}},
  };
  for (const auto& [height, counts] : cases) {
    for (int pass = 1; pass <= 7; ++pass) {
      EXPECT_EQ(PassLineCount(pass, height), counts[pass - 1]) << "height " << height << " pass " << pass;
    }
  }
}

TEST(SplitBytes, HighestBitsFirst) {
  EXPECT_EQ(SplitByte1(0b10110001), (std::array<std::uint8_t, 8>{1, 0, 1, 1, 0, 0, 0, 1}));
  EXPECT_EQ(SplitByte2(0xE4), (std::array<std::uint8_t, 4>{3, 2, 1, 0}));
  EXPECT_EQ(SplitByte4(0xA5), (std::array<std::uint8_t, 2>{10, 5}));
  EXPECT_EQ(ExpandSamples(Bytes{0xE4, 0xFF}, 2, 5), Bytes({3, 2, 1, 0, 3}));
  EXPECT_EQ(ExpandSamples(Bytes{0xE4}, 3, 3), Bytes({0, 0, 0}));
}

// Builds interlaced data for an 8-bit grey image whose pixel (x, y) is
// 10 y + x, every line stored with filter type 0.
Bytes InterlacedGrey(std::int64_t width, std::int64_t height) {
  const std::int64_t rows[7][2] = {{0, 8}, {0, 8}, {4, 8}, {0, 4}, {2, 4}, {0, 2}, {1, 2}};
  const std::int64_t columns[7][2] = {{0, 8}, {4, 8}, {0, 4}, {2, 4}, {0, 2}, {1, 2}, {0, 1}};
  Bytes data;
  for (int pass = 0; pass < 7; ++pass) {
    if (PassLineLength(width, 8, kPassColumns[pass]) == 0) continue;
    for (std::int64_t y = rows[pass][0]; y < height; y += rows[pass][1]) {
      data.push_back(0);
      for (std::int64_t x = columns[pass][0]; x < width; x += columns[pass][1]) {
        data.push_back(static_cast<std::uint8_t>(10 * y + x));
      }
    }
  }
  return data;
}

TEST(Deinterlace, PlacesEveryPassPixel) {
  for (const auto& [width, height] : std::vector<std::pair<int, int>>{{1, 1}, {5, 3}, {8, 8}, {9, 13}, {3, 10}}) {
    const Bytes image = Deinterlace(InterlacedGrey(width, height), PixelFormat{width, height, 8, 0, 0});
    ASSERT_EQ(image.size(), static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) EXPECT_EQ(image[y * width + x], 10 * y + x) << width << "x" << height;
    }
  }
}

TEST(Deinterlace, EachPassStartsAgainstZeros) {
  // 1 x 2: pass 1 holds row 0, pass 7 row 1; both use Up.
  const Bytes data = {2, 50, 2, 7};
  EXPECT_EQ(Deinterlace(data, PixelFormat{1, 2, 8, 0, 0}), Bytes({50, 7}));
}

TEST(Deinterlace, NarrowSamplesTakeAByteEachAndLoseTheirFillBits) {
  // 5 x 1 palette image of 2 bits: pass 1 (x 0), pass 2 (x 4), pass 4 (x 2),
  // pass 6 (x 1, 3).
  const Bytes data = {0, 0b01000000, 0, 0b10111111, 0, 0b11000000, 0, 0b10011111};
  EXPECT_EQ(Deinterlace(data, PixelFormat{5, 1, 2, 3, 0}), Bytes({1, 2, 3, 1, 2}));
}

TEST(Deinterlace, DataEndingEarlyFails) {
  Bytes data = InterlacedGrey(8, 8);
  data.pop_back();
  EXPECT_THROW(Deinterlace(data, PixelFormat{8, 8, 8, 0, 0}), RunTimeError);
}

TEST(Unpack2Bit, SpreadsSamplesToPaddedRows) {
  // 5 pixels wide: stored rows of 2 bytes; unpacked rows of 8 bytes.
  Bytes buffer = {0xE4, 0x40, 0x1B, 0x00};
  Unpack2Bit(5, 2, buffer, 3);
  EXPECT_EQ(buffer, Bytes({3, 2, 1, 0, 1, 0, 0, 0, 0, 1, 2, 3, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace zorv::png
