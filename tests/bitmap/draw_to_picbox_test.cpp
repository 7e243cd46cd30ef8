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
  const ScreenMetrics screen;
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
  const ScreenMetrics screen;
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
  const ScreenMetrics screen;
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
  const ScreenMetrics screen;
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
  const ScreenMetrics screen;
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
    CBitmap bitmaps(ScreenMetrics{0, 0, c.twipsPerPixel, c.twipsPerPixel});
    EXPECT_EQ(bitmaps.TwipsToPixels(c.twips, c.twips).first, c.pixels) << c.twipsPerPixel << " " << c.twips;
  }
  CBitmap bitmaps(ScreenMetrics{0, 0, 15.0F, 12.0F});
  EXPECT_EQ(bitmaps.PixelsToTwips(100, 50), SizePair(1500, 600));
  EXPECT_THROW(bitmaps.PixelsToTwips(200'000'000, 1), RunTimeError);
}

}  // namespace
}  // namespace zorv::bitmap

namespace zorv {
namespace {

TEST(PictureBox, KeepsWhatWasDrawnWhenResizedAndSharesItWithItsPicture) {
  const ScreenMetrics screen;
  PictureBox box(screen, nullptr, 0, 0x111111);
  box.SetWidth(0);
  box.SetHeight(3 * 15);
  box.StretchCopy(Image(1, 1, 0x222222), 0, 0, 1, 1, 0, 0, 1, 1);  // outside a surface of no width
  box.SetWidth(2 * 15);
  EXPECT_EQ(box.Image(), Image(2, 3, 0x111111));
  box.StretchCopy(Image(1, 1, 0x222222), 1, 2, 1, 1, 0, 0, 1, 1);
  box.KeepImageAsPicture();
  box.SetWidth(3 * 15);
  box.StretchCopy(Image(1, 1, 0x333333), 0, 0, 1, 1, 0, 0, 1, 1);
  EXPECT_EQ(box.Image().At(1, 2), 0x222222U);
  EXPECT_EQ(box.Image().At(0, 0), 0x333333U);
  EXPECT_EQ(box.Picture().width, 2);  // the kept picture did not change with the surface
  EXPECT_EQ(box.Picture().At(0, 0), 0x111111U);
  box.Cls();
  EXPECT_EQ(box.Image(), Image(3, 3, 0x111111));
  EXPECT_EQ(box.Capture(2, 2, 2, 1).pixels, (std::vector<std::uint32_t>{0x111111, 0}));
}

}  // namespace
}  // namespace zorv
