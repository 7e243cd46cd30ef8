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
    for (std::int32_t x = 0; x < width; ++x) {
      rows[y * stride + 3 * x] = static_cast<std::uint8_t>(x);
      rows[y * stride + 3 * x + 1] = static_cast<std::uint8_t>(y);
    }
  }
  bitmaps.CreateBitmapTrue(rows, width, height, true, 1);
}

TEST(DrawToPicBox, SizesABorderlessBoxToTheImage) {
  const Screen screen;
  CBitmap bitmaps(screen);
  Frame frame;
  PictureBox box(screen, &frame);
  MakeBitmap(bitmaps, 100, 50);
  bitmaps.DrawToPicBox(100, 50, &box, true, 0, 0, false);

  frame.mode = kScaleTwips;
  EXPECT_EQ(box.Width(), 1500);
  EXPECT_EQ(box.Height(), 750);
  ASSERT_EQ(box.Picture().width, 100);
  ASSERT_EQ(box.Picture().height, 50);
  EXPECT_EQ(box.Picture().At(99, 49), 0x3163U);
  EXPECT_EQ(box.Picture(), box.Image());
  EXPECT_FALSE(bitmaps.Bitmap());  // released after drawing
}

TEST(DrawToPicBox, ABorderedBoxGrowsSoItsInnerAreaIsTheImage) {
  const Screen screen;
  CBitmap bitmaps(screen);
  PictureBox box(screen, nullptr, 2);
  MakeBitmap(bitmaps, 40, 30);
  bitmaps.DrawToPicBox(40, 30, &box, true, 0, 0, false);
  EXPECT_EQ(box.Width(), 44 * 15);
  EXPECT_EQ(box.Height(), 34 * 15);
  EXPECT_EQ(box.InnerPixelWidth(), 40);
  EXPECT_EQ(box.InnerPixelHeight(), 30);
  EXPECT_EQ(box.Picture().At(39, 29), 0x1D27U);
}

TEST(DrawToPicBox, RestoresTheScaleModes) {
  const Screen screen;
  CBitmap bitmaps(screen);
  Frame frame;
  PictureBox box(screen, &frame);
  box.SetScaleMode(kScalePixels);
  MakeBitmap(bitmaps, 4, 4);
  bitmaps.DrawToPicBox(4, 4, &box, true, 0, 0, false);
  EXPECT_EQ(frame.mode, kScalePixels);
  EXPECT_EQ(box.ScaleMode(), kScalePixels);
  EXPECT_EQ(box.Width(), 4);  // in the frame's pixels
}

TEST(DrawToPicBox, WithoutABitmapTheBoxIsStillClearedAndSized) {
  const Screen screen;
  CBitmap bitmaps(screen);
  PictureBox box(screen, nullptr, 0, 0x123456);
  bitmaps.DrawToPicBox(3, 2, &box, true, 0, 0, false);
  EXPECT_EQ(box.Picture(), Image(3, 2, 0x123456));
}

TEST(DrawToPicBox, WithoutABoxFailsAsAnObjectNotSet) {
  CBitmap bitmaps;
  MakeBitmap(bitmaps, 2, 2);
  try {
    bitmaps.DrawToPicBox(2, 2, nullptr, true, 0, 0, false);
    FAIL();
  } catch (const RunTimeError& failure) {
    EXPECT_EQ(failure.Number(), 91);
  }
}

TEST(DrawToPicBox, OnTheBackgroundTheBoxKeepsItsSize) {
  const Screen screen;
  CBitmap bitmaps(screen);
  PictureBox box(screen, nullptr, 0, 0);
  box.SetWidth(10 * 15);
  box.SetHeight(10 * 15);
  MakeBitmap(bitmaps, 3, 3);
  bitmaps.DrawToPicBox(3, 3, &box, true, 5, 6, true);
  EXPECT_EQ(box.InnerPixelWidth(), 10);
  EXPECT_EQ(box.Picture().At(5, 6), 0U);
  EXPECT_EQ(box.Picture().At(7, 8), 0x0202U);
  EXPECT_EQ(box.Picture().At(8, 8), 0U);  // outside the bitmap nothing is drawn
}

TEST(PixelTwipConversion, RoundsTwipsPerPixelAndPixels) {
  struct Case {
    float twipsPerPixel;
    std::int32_t twips;
    std::int32_t pixels;
  };
  for (const Case& c : std::vector<Case>{{15.0F, 1500, 100}, {12.0F, 1500, 125}, {12.0F, 750, 62}, {12.0F, 762, 64},
                                         {14.6F, 1500, 100}}) {
    CBitmap bitmaps(Screen{c.twipsPerPixel, c.twipsPerPixel});
    EXPECT_EQ(bitmaps.TwipsToPixels(c.twips, c.twips).first, c.pixels) << c.twipsPerPixel << " " << c.twips;
  }
  CBitmap bitmaps(Screen{15.0F, 12.0F});
  EXPECT_EQ(bitmaps.PixelsToTwips(100, 50), SizePair(1500, 600));
  EXPECT_THROW(bitmaps.PixelsToTwips(200'000'000, 1), RunTimeError);
}

}  // namespace
}  // namespace zorv::bitmap
