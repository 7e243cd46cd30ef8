#include <gtest/gtest.h>

#include <vector>

#include "platform/run_time_error.h"
#include "png/background_colour.h"
#include "png/png_file.h"

namespace zorv::png {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(IsPngSignature, EveryByteCounts) {
  const Bytes signature(kPngSignature.begin(), kPngSignature.end());
  EXPECT_TRUE(IsPngSignature(signature));
  for (std::size_t i = 0; i < signature.size(); ++i) {
    Bytes changed = signature;
    changed[i] ^= 0x20;
    EXPECT_FALSE(IsPngSignature(changed)) << "byte " << i;
  }
  EXPECT_FALSE(IsPngSignature({}));
  EXPECT_FALSE(IsPngSignature(std::span(signature).first(7)));
}

TEST(ReadHeader, FieldsInOrderAndMissingBytesAsZero) {
  const ImageHeader full = ReadHeader(Bytes{0, 0, 1, 2, 0x80, 0, 0, 3, 16, 6, 1, 2, 1});
  EXPECT_EQ(full.width, 258);
  EXPECT_EQ(full.height, static_cast<std::int32_t>(0x80000003U));
  EXPECT_EQ(full.bitDepth, 16);
  EXPECT_EQ(full.colourType, 6);
  EXPECT_EQ(full.compression, 1);
  EXPECT_EQ(full.filter, 2);
  EXPECT_EQ(full.interlacing, 1);

  const ImageHeader shortened = ReadHeader(Bytes{0, 0, 0, 9, 0, 0});
  EXPECT_EQ(shortened.width, 9);
  EXPECT_EQ(shortened.height, 0);
  EXPECT_EQ(shortened.interlacing, 0);
}

TEST(FormatModiTime, TwoDigitFieldsAndAPlainYear) {
  struct Case {
    Bytes data;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {{0x07, 0xD4, 5, 7, 14, 3, 9}, "07.05.2004 14:03:09"},
      {{0x07, 0xCF, 12, 31, 23, 59, 60}, "31.12.1999 23:59:60"},
      {{0x03, 0x20, 1, 1, 0, 0, 0}, "01.01.800 00:00:00"},
      {{0xFF, 0xFF, 1, 2, 3, 4, 5, 99}, "02.01.-1 03:04:05"},
      {{0x07, 0xD0, 1, 1, 200, 0, 0}, "01.01.2000 200:00:00"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatModiTime(c.data), c.expected);
  EXPECT_THROW(FormatModiTime(Bytes{0x07, 0xD4, 5, 7, 14, 3}), RunTimeError);
}

TEST(FindZero, IndexBeforeTheZero) {
  const Bytes data = {'a', 'b', 0, 'c', 0};
  EXPECT_EQ(FindZero(data, 0), 1);
  EXPECT_EQ(FindZero(data, 3), 3);
  EXPECT_EQ(FindZero(Bytes{'a', 'b'}, 0), 1);
  EXPECT_EQ(FindZero(data, 9), 4);
  EXPECT_EQ(FindZero(Bytes{0, 'a'}, 0), -1);
}

TEST(ComputeBkgdColor, ByColourType) {
  const Bytes palette = {1, 2, 3, 4, 5, 6, 7};  // two whole entries
  struct Case {
    const char* name;
    Bytes data;
    std::int64_t depth, colourType;
    Colour expected;
  };
  const std::vector<Case> cases = {
      {"grey depth 2 level 2", {0, 2}, 2, 0, MakeColour(170, 170, 170)},
      {"grey depth 2 level 4", {0, 4}, 2, 0, 0},
      {"grey depth 1 level 1", {0, 1}, 1, 4, 0xFFFFFF},
      {"grey depth 16 level 255", {0, 255}, 16, 0, 0xFFFFFF},
      {"grey depth 16 level 256", {1, 0}, 16, 0, 0},
      {"grey wrong length", {0, 1, 0}, 8, 0, 0},
      {"rgb depth 16", {0xFF, 0xFF, 0x80, 0x00, 0, 0}, 16, 2, MakeColour(255, 128, 0)},
      {"rgb depth 8", {0, 10, 0, 20, 0, 30}, 8, 6, MakeColour(10, 20, 30)},
      {"rgb depth 8 above 255", {0x01, 0x00, 0, 0, 0, 0}, 8, 2, MakeColour(255, 0, 0)},
      {"rgb depth 8 overflow", {0x80, 0x00, 0, 0, 0, 0}, 8, 2, 0},
      {"rgb depth 1", {0, 1, 0, 0, 0, 1}, 1, 2, MakeColour(255, 0, 255)},
      {"rgb depth 0", {0, 0, 0, 0, 0, 0}, 0, 2, 0},
      {"rgb wrong length", {0, 0, 0, 0, 0}, 8, 2, 0},
      {"palette entry 1", {1}, 8, 3, MakeColour(4, 5, 6)},
      {"palette incomplete entry", {2}, 8, 3, 0},
      {"palette wrong length", {0, 0}, 8, 3, 0},
      {"other type", {0}, 8, 5, 12345},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ComputeBkgdColor(c.data, c.depth, c.colourType, palette, 12345), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace zorv::png
