#include <gtest/gtest.h>

#include <vector>

#include "platform/run_time_error.h"
#include "png/unfilter.h"

namespace zorv::png {
namespace {

using Bytes = ByteBuffer;

TEST(PaethPredictor, TiesGoLeftThenAbove) {
  struct Case {
    int a, b, c, expected;
  };
  for (const Case& c : std::vector<Case>{{7, 7, 7, 7}, {10, 20, 10, 20}, {20, 10, 15, 15}, {0, 255, 255, 0},
                                         {255, 0, 255, 0}, {100, 100, 0, 100}, {3, 9, 6, 6}}) {
    EXPECT_EQ(PaethPredictor(c.a, c.b, c.c), c.expected) << c.a << " " << c.b << " " << c.c;
  }
}

TEST(UnfilterRow, EachFilterAgainstItsNeighbours) {
  const Bytes previous = {10, 20, 30, 40};
  struct Case {
    std::uint8_t type;
    std::size_t bytesPerPixel;
    Bytes row;
    Bytes expected;
  };
  const std::vector<Case> cases = {
      {0, 1, {1, 2, 3, 4}, {1, 2, 3, 4}},
      {1, 1, {1, 2, 3, 250}, {1, 3, 6, 0}},
      {1, 2, {1, 2, 3, 4}, {1, 2, 4, 6}},
      {2, 1, {1, 2, 3, 250}, {11, 22, 33, 34}},
      {3, 1, {1, 2, 3, 4}, {6, 15, 25, 36}},
      {3, 2, {255, 255, 255, 255}, {4, 9, 16, 23}},
      {4, 1, {1, 2, 3, 4}, {11, 22, 33, 44}},
      {5, 1, {1, 2, 3, 4}, {1, 2, 3, 4}},
      {255, 1, {1, 2, 3, 4}, {1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    Bytes row = c.row;
    UnfilterRow(c.type, row, previous, c.bytesPerPixel);
    EXPECT_EQ(row, c.expected) << "type " << int{c.type} << " bpp " << c.bytesPerPixel;
  }
}

TEST(UnfilterRow, FirstRowAgainstZeros) {
  const Bytes zeros(4, 0);
  Bytes up = {5, 6, 7, 8};
  UnfilterRow(kFilterUp, up, zeros, 1);
  EXPECT_EQ(up, Bytes({5, 6, 7, 8}));
  Bytes average = {4, 4, 4, 4};
  UnfilterRow(kFilterAverage, average, zeros, 1);
  EXPECT_EQ(average, Bytes({4, 6, 7, 7}));
}

PixelFormat Grey8(std::int64_t width, std::int64_t height) { return {width, height, 8, 0, 0}; }

TEST(Unfilter, DropsFilterBytesAndUsesTheRebuiltRowAbove) {
  // Two rows of 3 pixels: Sub, then Up.
  Bytes data = {1, 10, 5, 5, 2, 1, 1, 1};
  Unfilter(data, Grey8(3, 2));
  EXPECT_EQ(data, Bytes({10, 15, 20, 11, 16, 21}));
}

TEST(Unfilter, SubOnTwoBitPixelsUsesTheByteBefore) {
  Bytes data = {1, 0x10, 0x01};
  Unfilter(data, PixelFormat{8, 1, 2, 3, 0});
  EXPECT_EQ(data, Bytes({0x10, 0x11}));
}

TEST(Unfilter, ExtraBytesBecomeZeros) {
  Bytes data = {0, 1, 2, 9, 9, 9};
  Unfilter(data, Grey8(2, 1));
  EXPECT_EQ(data, Bytes({1, 2, 0, 0, 0}));
}

TEST(Unfilter, ShortDataFails) {
  Bytes data = {0, 1, 2, 0, 1};
  EXPECT_THROW(Unfilter(data, Grey8(2, 2)), RunTimeError);
}

TEST(SizeRules, BitsBytesAndScanlines) {
  struct Case {
    PixelFormat format;
    std::int64_t bits, bytes, scanline;
  };
  const std::vector<Case> cases = {
      {{10, 1, 8, 2, 0}, 24, 3, 31},   {{10, 1, 16, 4, 0}, 32, 4, 41}, {{10, 1, 4, 3, 0}, 4, 1, 6},
      {{10, 1, 1, 0, 0}, 1, 1, 3},     {{10, 1, 16, 6, 0}, 64, 8, 81}, {{10, 1, 2, 0, 8}, 8, 1, 11},
      {{10, 1, 8, 6, 32}, 128, 16, 161}, {{10, 1, 8, 5, 0}, 0, 1, 1},  {{10, 1, 8, 2, 8}, 24, 3, 31},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BitsPerPixel(c.format), c.bits);
    EXPECT_EQ(BytesPerPixel(c.format), c.bytes);
    EXPECT_EQ(ScanlineLength(c.format), c.scanline);
  }
}

}  // namespace
}  // namespace zorv::png
