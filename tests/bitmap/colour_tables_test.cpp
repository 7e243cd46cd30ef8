#include <gtest/gtest.h>

#include <vector>

#include "bitmap/cbitmap.h"

namespace zorv::bitmap {
namespace {

RgbQuad Rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) { return RgbQuad{blue, green, red, 0}; }
const RgbQuad kBlack = Rgb(0, 0, 0);
const RgbQuad kWhite = Rgb(255, 255, 255);

TEST(SetMonoColours, ModesChooseTheOrderOfBlackAndWhite) {
  struct Case {
    int mode;
    RgbQuad first;
    RgbQuad second;
  };
  for (const Case& c : std::vector<Case>{{0, kWhite, kBlack}, {1, kBlack, kWhite}, {2, kBlack, kBlack}, {-1, kBlack, kBlack}}) {
    CBitmap bitmaps;
    bitmaps.SetMonoColours(c.mode);
    EXPECT_EQ(bitmaps.BitmapInfo1().colours[0], c.first) << "mode " << c.mode;
    EXPECT_EQ(bitmaps.BitmapInfo1().colours[1], c.second) << "mode " << c.mode;
  }
}

TEST(SetMonoPalette, TakesATwoColourPaletteAndFallsBackToBlackAndWhite) {
  struct Case {
    std::vector<std::uint8_t> palette;
    RgbQuad first;
    RgbQuad second;
  };
  const std::vector<Case> cases = {
      {{10, 20, 30, 40, 50, 60}, Rgb(10, 20, 30), Rgb(40, 50, 60)},
      {{10, 20, 30}, kBlack, kWhite},
      {{1, 2, 3, 4, 5, 6, 7, 8, 9}, kBlack, kWhite},
      {{}, kBlack, kWhite},
  };
  for (const Case& c : cases) {
    CBitmap bitmaps;
    bitmaps.SetMonoColours(0);
    bitmaps.SetMonoPalette(c.palette);
    EXPECT_EQ(bitmaps.BitmapInfo1().colours[0], c.first) << c.palette.size() << " bytes";
    EXPECT_EQ(bitmaps.BitmapInfo1().colours[1], c.second) << c.palette.size() << " bytes";
  }
}

TEST(SetPalette256, EntriesPastThePaletteBecomeBlack) {
  CBitmap bitmaps;
  bitmaps.GreyRamp(8, false);  // every entry grey first
  std::vector<std::uint8_t> palette;
  for (int i = 0; i < 16; ++i) palette.insert(palette.end(), {static_cast<std::uint8_t>(i), 100, 200});
  palette.push_back(77);  // an incomplete trailing entry is ignored
  bitmaps.SetPalette256(palette);
  EXPECT_EQ(bitmaps.BitmapInfo8().colours[5], Rgb(5, 100, 200));
  EXPECT_EQ(bitmaps.BitmapInfo8().colours[16], kBlack);
  EXPECT_EQ(bitmaps.BitmapInfo8().colours[255], kBlack);
}

TEST(SetPalette16, TakesAtMostSixteenEntries) {
  CBitmap bitmaps;
  std::vector<std::uint8_t> palette(3 * 20, 9);
  palette[3 * 15] = 1;
  bitmaps.SetPalette16(palette);
  EXPECT_EQ(bitmaps.BitmapInfo4().colours[15], Rgb(1, 9, 9));
  EXPECT_EQ(bitmaps.BitmapInfo4().colours[0], Rgb(9, 9, 9));
}

TEST(GreyRamp, LevelsAndReturnedPaletteByDepth) {
  struct Case {
    int depth;
    std::size_t entries;
    std::uint8_t second;  // the step
  };
  for (const Case& c : std::vector<Case>{{1, 2, 255}, {2, 4, 85}, {4, 16, 17}, {8, 256, 1}, {16, 256, 1}}) {
    CBitmap bitmaps;
    const auto ramp = bitmaps.GreyRamp(c.depth, false);
    ASSERT_EQ(ramp.size(), 3 * c.entries) << "depth " << c.depth;
    EXPECT_EQ(ramp[3], c.second) << "depth " << c.depth;
    EXPECT_EQ(ramp[ramp.size() - 1], 255) << "depth " << c.depth;
  }
}

TEST(GreyRamp, WritesTheTableTheDepthAndFlagSelect) {
  CBitmap bitmaps;
  bitmaps.SetPalette256(std::vector<std::uint8_t>(768, 7));
  bitmaps.SetPalette16(std::vector<std::uint8_t>(48, 7));
  const RgbQuad seven = Rgb(7, 7, 7);

  bitmaps.GreyRamp(4, true);  // the first 16 entries of the 8-bit table only
  EXPECT_EQ(bitmaps.BitmapInfo8().colours[1], Rgb(17, 17, 17));
  EXPECT_EQ(bitmaps.BitmapInfo8().colours[15], kWhite);
  EXPECT_EQ(bitmaps.BitmapInfo8().colours[16], seven);
  EXPECT_EQ(bitmaps.BitmapInfo4().colours[1], seven);

  bitmaps.GreyRamp(4, false);
  EXPECT_EQ(bitmaps.BitmapInfo4().colours[2], Rgb(34, 34, 34));

  bitmaps.GreyRamp(1, true);
  EXPECT_EQ(bitmaps.BitmapInfo8().colours[1], kWhite);
  bitmaps.GreyRamp(2, false);
  EXPECT_EQ(bitmaps.BitmapInfo8().colours[2], Rgb(170, 170, 170));
  EXPECT_EQ(bitmaps.BitmapInfo8().colours[4], Rgb(68, 68, 68));  // left from the 4-bit ramp

  const auto before = bitmaps.BitmapInfo8().colours;
  EXPECT_EQ(bitmaps.GreyRamp(16, false).size(), 768U);
  EXPECT_EQ(bitmaps.BitmapInfo8().colours, before);  // 16 bits write no table
}

TEST(GreyLevel, OutsideTheRampThereIsNoLevel) {
  EXPECT_EQ(GreyLevel(2, 2), 170);
  EXPECT_EQ(GreyLevel(2, 4), std::nullopt);
  EXPECT_EQ(GreyLevel(16, 255), 255);
  EXPECT_EQ(GreyLevel(16, 256), std::nullopt);
  EXPECT_EQ(GreyLevel(0, 0), std::nullopt);
  EXPECT_EQ(GreyLevel(3, 7), 252);  // 255 / 7 rounds to a step of 36
}

}  // namespace
}  // namespace zorv::bitmap
