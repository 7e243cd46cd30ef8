#include <gtest/gtest.h>

#include <vector>

#include "platform/run_time_error.h"
#include "png/pixel_conversion.h"
#include "png/transparency.h"

namespace zorv::png {
namespace {

using Bytes = ByteBuffer;

TEST(RowStride, WholeWords) {
  struct Case {
    std::int64_t width, bits, expected;
  };
  for (const Case& c : std::vector<Case>{{3, 8, 4}, {10, 1, 4}, {1, 24, 4}, {5, 24, 16}, {7, 4, 4}, {33, 1, 8}, {0, 24, 0}}) {
    EXPECT_EQ(RowStride(c.width, c.bits), c.expected) << c.width << " x " << c.bits;
  }
}

TEST(Conversions, RewriteTheBuffer) {
  struct Case {
    const char* name;
    void (*convert)(Bytes&);
    Bytes input;
    Bytes expected;
  };
  const std::vector<Case> cases = {
      {"reduce", Reduce16To8, {0x12, 0x34, 0xAB, 0xCD}, {0x12, 0xAB}},
      {"rgb", RgbToBgr, {1, 2, 3, 4, 5, 6, 7, 8}, {3, 2, 1, 6, 5, 4, 7, 8}},
      {"rgba", RgbaToBgra, {1, 2, 3, 4, 5, 6, 7}, {3, 2, 1, 4, 7, 6, 5}},
      {"rgba short tail", RgbaToBgra, {1, 2, 3, 4, 5, 6}, {3, 2, 1, 4, 5, 6}},
      {"grey alpha", GreyAlphaToBgra, {0x80, 0x40, 1, 2}, {0x80, 0x80, 0x80, 0x40, 1, 1, 1, 2}},
  };
  for (const Case& c : cases) {
    Bytes buffer = c.input;
    c.convert(buffer);
    EXPECT_EQ(buffer, c.expected) << c.name;
  }
}

TEST(Conversions, OddLengthsOfPairsFail) {
  Bytes odd = {1, 2, 3};
  EXPECT_THROW(Reduce16To8(odd), RunTimeError);
  EXPECT_THROW(GreyAlphaToBgra(odd), RunTimeError);
}

TEST(PadRows, PadsEachRowOnceWithZeros) {
  // 3 grey pixels per row at 8 bits: rows of 3 bytes become rows of 4.
  Bytes buffer = {1, 2, 3, 4, 5, 6};
  PadRows(8, buffer, PixelFormat{3, 2, 8, 0, 0});
  EXPECT_EQ(buffer, Bytes({1, 2, 3, 0, 4, 5, 6, 0}));

  // 10 pixels of 1 bit: 2 bytes become 4.
  Bytes mono = {0xFF, 0xC0};
  PadRows(1, mono, PixelFormat{10, 1, 1, 0, 0});
  EXPECT_EQ(mono, Bytes({0xFF, 0xC0, 0, 0}));

  // Rows already a whole number of words stay, extra bytes too.
  Bytes whole = {1, 2, 3, 4, 9};
  PadRows(8, whole, PixelFormat{4, 1, 8, 0, 0});
  EXPECT_EQ(whole, Bytes({1, 2, 3, 4, 9}));

  Bytes bgra = {1, 2, 3};
  PadRows(32, bgra, PixelFormat{1, 1, 8, 6, 0});
  EXPECT_EQ(bgra, Bytes({1, 2, 3}));

  Bytes missing = {1, 2, 3};
  EXPECT_THROW(PadRows(8, missing, PixelFormat{3, 2, 8, 0, 0}), RunTimeError);
}

TEST(FlipRows, ReversesRowsAndZeroesTheRest) {
  Bytes buffer = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  FlipRows(buffer, 4);
  EXPECT_EQ(buffer, Bytes({5, 6, 7, 8, 1, 2, 3, 4, 0}));
  Bytes three = {1, 2, 3};
  FlipRows(three, 1);
  EXPECT_EQ(three, Bytes({3, 2, 1}));
}

TEST(RgbaToBgraFlipped, SameAsTheTwoStepsInTurn) {
  for (const std::size_t rows : {1, 2, 3}) {
    Bytes buffer(rows * 8 + 3);
    for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<std::uint8_t>(i + 1);
    Bytes stepwise = buffer;
    RgbaToBgra(stepwise);
    FlipRows(stepwise, 8);
    RgbaToBgraFlipped(buffer, 2);
    EXPECT_EQ(buffer, stepwise) << rows << " rows";
  }
}

TEST(IndexedToBgra, PaletteColoursAndAlphas) {
  const Bytes palette = {10, 11, 12, 20, 21, 22, 30, 31, 32, 40, 41, 42};
  const Bytes alphas = {0, 128};  // indices 2 and 3 opaque
  struct Case {
    std::int64_t width, bits;
    Bytes rows;
    Bytes expected;
  };
  const std::vector<Case> cases = {
      {4, 8, {0, 1, 2, 3}, {12, 11, 10, 0, 22, 21, 20, 128, 32, 31, 30, 255, 42, 41, 40, 255}},
      {2, 4, {0x31, 0, 0, 0}, {42, 41, 40, 255, 22, 21, 20, 128}},
      {3, 1, {0b01000000, 0, 0, 0}, {12, 11, 10, 0, 22, 21, 20, 128, 12, 11, 10, 0}},
      {2, 2, {0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    Bytes buffer = c.rows;
    IndexedToBgra(c.width, 1, c.bits, buffer, palette, alphas);
    EXPECT_EQ(buffer, c.expected) << c.bits << " bits";
  }
  Bytes beyond = {4, 0, 0, 0};
  EXPECT_THROW(IndexedToBgra(1, 1, 8, beyond, palette, alphas), RunTimeError);
}

TEST(GreyAlphaTable, TheTransparentLevelOnly) {
  const auto table = GreyAlphaTable(Bytes{0x00, 0x7F}, 256);
  EXPECT_EQ(table[0x7F], 0);
  EXPECT_EQ(table[0x7E], 255);
  EXPECT_EQ(GreyAlphaTable(Bytes{0, 2}, 4), std::vector<std::uint8_t>({255, 255, 0, 255}));
  EXPECT_THROW(GreyAlphaTable(Bytes{0, 4}, 4), RunTimeError);
  EXPECT_THROW(GreyAlphaTable(Bytes{0}, 4), RunTimeError);
}

TEST(RgbKeyToBgra, OnlyTheKeyColourTurnsTransparent) {
  // 5 pixels per row (15 bytes + 1 of padding), 2 rows.
  Bytes rows(32, 0);
  for (int x = 0; x < 5; ++x) rows[3 * x] = static_cast<std::uint8_t>(x);  // blue = x
  rows[16] = 2;                                                            // second row starts with blue 2
  RgbKeyToBgra(5, 2, rows, {2, 0, 0});
  ASSERT_EQ(rows.size(), 40U);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(rows[4 * x + 3], x == 2 ? 0 : 255) << x;
  EXPECT_EQ(rows[20 + 3], 0);
  EXPECT_EQ(rows[20], 2);
  EXPECT_EQ(rows[24 + 3], 255);
}

TEST(RgbTransparentKey, LowBytesAt8BitsHighBytesAt16) {
  const Bytes trns = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
  EXPECT_EQ(RgbTransparentKey(trns, 8), (std::array<std::uint8_t, 3>{0x66, 0x44, 0x22}));
  EXPECT_EQ(RgbTransparentKey(trns, 16), (std::array<std::uint8_t, 3>{0x55, 0x33, 0x11}));
  EXPECT_THROW(RgbTransparentKey(Bytes{0, 1}, 8), RunTimeError);
}

}  // namespace
}  // namespace zorv::png
