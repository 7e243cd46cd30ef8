#include <gtest/gtest.h>

#include <vector>

#include "bitmap/cbitmap.h"

namespace zorv::bitmap {
namespace {

TEST(CreateBitmapTrue, HeaderStatesTheRowOrder) {
  CBitmap bitmaps;
  // 3 x 2 pixels at 24 bits: rows of 12 bytes (9 bytes of pixels and 3 of padding).
  std::vector<std::uint8_t> rows(24, 0);
  rows[0] = 0x30, rows[1] = 0x20, rows[2] = 0x10;  // first pixel of the first row
  rows[12] = 0xFF;                                 // first pixel of the second row: blue
  bitmaps.CreateBitmapTrue(rows, 3, 2, true, 1);
  EXPECT_EQ(bitmaps.BitmapHeader24().biHeight, -2);
  EXPECT_EQ(bitmaps.BitmapHeader24().biBitCount, 24);
  EXPECT_EQ(bitmaps.BitmapHeader24().biSize, 40U);
  ASSERT_TRUE(bitmaps.Bitmap());
  EXPECT_EQ(bitmaps.Bitmap()->At(0, 0), 0x102030U);
  EXPECT_EQ(bitmaps.Bitmap()->At(0, 1), 0x0000FFU);

  bitmaps.CreateBitmapTrue(rows, 3, 2, false, 1);
  EXPECT_EQ(bitmaps.BitmapHeader24().biHeight, 2);
  EXPECT_EQ(bitmaps.Bitmap()->At(0, 0), 0x0000FFU);  // bottom row first
}

TEST(CreateBitmapTrue, ModeChoosesTheDepth) {
  CBitmap bitmaps;
  const std::vector<std::uint8_t> rows = {1, 2, 3, 200};
  bitmaps.CreateBitmapTrue(rows, 1, 1, true, 0);
  EXPECT_EQ(bitmaps.BitmapHeader32().biBitCount, 32);
  EXPECT_EQ(bitmaps.Bitmap()->At(0, 0), 0x030201U);  // the fourth byte is ignored

  CBitmap other;
  other.CreateBitmapTrue(rows, 1, 1, true, 2);
  EXPECT_FALSE(other.Bitmap());
  EXPECT_EQ(other.BitmapHeader32().biSize, 0U);
}

TEST(CreateBitmap1, UsesTheMonoTable) {
  CBitmap bitmaps;
  bitmaps.SetMonoColours(1);
  // 10 pixels, 1 bit each: rows of 4 bytes.
  const std::vector<std::uint8_t> rows = {0b10100000, 0b01000000, 0, 0};
  bitmaps.CreateBitmap1(rows, 10, 1, true);
  ASSERT_TRUE(bitmaps.Bitmap());
  EXPECT_EQ(bitmaps.BitmapInfo1().header.biBitCount, 1);
  EXPECT_EQ(bitmaps.Bitmap()->At(0, 0), 0xFFFFFFU);
  EXPECT_EQ(bitmaps.Bitmap()->At(1, 0), 0U);
  EXPECT_EQ(bitmaps.Bitmap()->At(9, 0), 0xFFFFFFU);
}

TEST(CreateBitmap4, TopNibbleIsTheLeftPixel) {
  CBitmap bitmaps;
  bitmaps.GreyRamp(4, false);
  const std::vector<std::uint8_t> rows = {0xF1, 0, 0, 0};
  bitmaps.CreateBitmap4(rows, 2, 1, true);
  EXPECT_EQ(bitmaps.Bitmap()->At(0, 0), 0xFFFFFFU);
  EXPECT_EQ(bitmaps.Bitmap()->At(1, 0), 0x111111U);
}

TEST(CreateBitmap8, TooFewRowsMakeNoBitmap) {
  CBitmap bitmaps;
  bitmaps.CreateBitmap8(std::vector<std::uint8_t>(4, 0), 3, 2, true);
  EXPECT_FALSE(bitmaps.Bitmap());
  EXPECT_EQ(bitmaps.BitmapInfo8().header.biHeight, -2);
}

}  // namespace
}  // namespace zorv::bitmap
