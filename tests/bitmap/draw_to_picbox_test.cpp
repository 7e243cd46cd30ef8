// Drawing a bitmap into picture boxes of each kind, the pixel-twip rounding
// that sizes them, and what the crafted and suite images never ask of the
// bitmap tables. The pixels of every depth are checked over whole files by
// the PNG tests.
#include <gtest/gtest.h>

#include <vector>

#include "bitmap/cbitmap.h"
#include "platform/run_time_error.h"

namespace zorv::bitmap {
namespace {

class Frame final : public PictureContainer {
 public:
  int ScaleMode() const override { return mode; }
  void SetScaleMode(int newMode) override { mode = newMode; }
  int mode = kScalePixels;
};

// A width x height 24-bit bitmap whose pixel (x, y) is x + 256 y.
void MakeBitmap(CBitmap& bitmaps, std::int32_t width, std::int32_t height) {
  const auto stride = static_cast<std::size_t>(BitmapRowStride(width, 24));
  std::vector<std::uint8_t> rows(stride * static_cast<std::size_t>(height), 0);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) rows[y * stride + 3 * x] = x, rows[y * stride + 3 * x + 1] = y;
  }
  bitmaps.CreateBitmapTrue(rows, width, height, true, 1);
}

TEST(DrawToPicBox, BoxesOfEachKind) {
  struct Case {
    const char* name;
    std::int32_t border;    // pixels of border each side
    bool inFrame, toBackground, bitmap;
    std::int32_t boxWidth;  // twips, in the frame's units when in one
    std::pair<std::int32_t, std::int32_t> probe;
    std::uint32_t probed;   // the box's picture there
  };
  const std::vector<Case> cases = {
      {"borderless in a frame", 0, true, false, true, 40, {39, 29}, 0x1D27},
      {"bordered", 2, false, false, true, 44 * 15, {39, 29}, 0x1D27},
      {"no bitmap: cleared and sized all the same", 0, false, false, false, 40 * 15, {39, 29}, 0x123456},
      {"onto the background at (5, 6), keeping its size", 0, false, true, true, 60 * 15, {7, 8}, 0x0202},
      {"outside the drawn bitmap", 0, false, true, true, 60 * 15, {5 + 40, 6}, 0x123456},
  };
  for (const Case& c : cases) {
    const ScreenMetrics screen;
    CBitmap bitmaps(screen);
    Frame frame;
    PictureBox box(screen, c.inFrame ? &frame : nullptr, c.border, 0x123456);
    box.SetScaleMode(kScalePixels);
    if (c.toBackground) box.SetWidth(60 * 15), box.SetHeight(60 * 15);
    if (c.bitmap) MakeBitmap(bitmaps, 40, 30);
    bitmaps.DrawToPicBox(40, 30, &box, true, c.toBackground ? 5 : 0, c.toBackground ? 6 : 0, c.toBackground);
    EXPECT_EQ(frame.mode, kScalePixels) << c.name;
    EXPECT_EQ(box.ScaleMode(), kScalePixels) << c.name;
    EXPECT_EQ(box.Width(), c.boxWidth) << c.name;
    EXPECT_EQ(box.InnerPixelHeight(), c.toBackground ? 60 : 30) << c.name;
    EXPECT_EQ(box.Picture().At(c.probe.first, c.probe.second), c.probed) << c.name;
    EXPECT_EQ(box.Picture(), box.Image()) << c.name;
    EXPECT_EQ(bitmaps.LastDrawCopiedBitmap(), c.bitmap) << c.name;
    EXPECT_FALSE(bitmaps.Bitmap()) << c.name << ": released after drawing";
  }
  CBitmap bitmaps;
  EXPECT_THROW(bitmaps.DrawToPicBox(2, 2, nullptr, true, 0, 0, false), RunTimeError) << "no box";
}

TEST(PixelTwipConversion, RoundsTwipsPerPixelAndPixels) {
  for (const auto& [perPixel, twips, pixels] : std::vector<std::tuple<float, std::int32_t, std::int32_t>>{
           {15.0F, 1500, 100}, {12.0F, 1500, 125}, {12.0F, 750, 62}, {12.0F, 762, 64}, {14.6F, 1500, 100}}) {
    EXPECT_EQ(CBitmap(ScreenMetrics{0, 0, perPixel, perPixel}).TwipsToPixels(twips, twips).first, pixels) << perPixel;
  }
  CBitmap bitmaps(ScreenMetrics{0, 0, 15.0F, 12.0F});
  EXPECT_EQ(bitmaps.PixelsToTwips(100, 50), SizePair(1500, 600));
  EXPECT_THROW(bitmaps.PixelsToTwips(200'000'000, 1), RunTimeError);
  EXPECT_THROW(bitmaps.PixelsToTwips(-200'000'000, 1), RunTimeError);
  EXPECT_THROW(CBitmap(ScreenMetrics{0, 0, 0.4F, 0.4F}).TwipsToPixels(1, 1), RunTimeError);
}

TEST(BitmapTables, MonoModesAndBitmapsNoFileMakes) {
  const RgbQuad black{0, 0, 0, 0};
  const RgbQuad white{255, 255, 255, 0};
  for (const auto& [mode, first, second] : std::vector<std::tuple<int, RgbQuad, RgbQuad>>{
           {0, white, black}, {1, black, white}, {2, black, black}, {-1, black, black}}) {
    CBitmap bitmaps;
    bitmaps.SetMonoColours(mode);
    EXPECT_EQ(bitmaps.BitmapInfo1().colours, (std::array<RgbQuad, 2>{first, second})) << mode;
  }
  CBitmap bitmaps;
  bitmaps.CreateBitmap8(std::vector<std::uint8_t>(4, 0), 3, 2, true);
  EXPECT_FALSE(bitmaps.Bitmap()) << "too few rows";
  bitmaps.CreateBitmapTrue(std::vector<std::uint8_t>(4, 0), 1, 1, true, 2);
  EXPECT_FALSE(bitmaps.Bitmap()) << "mode 2 makes none";
  EXPECT_EQ(bitmaps.BitmapHeader32().biSize, 0U);
  EXPECT_EQ(GreyLevel(0, 0), std::nullopt);
  bitmaps.SetPalette256(std::vector<std::uint8_t>{1, 2, 3});
  EXPECT_EQ(bitmaps.BitmapInfo8().colours[0], (RgbQuad{3, 2, 1, 0})) << "the fourth byte stays zero";
}

}  // namespace
}  // namespace zorv::bitmap
