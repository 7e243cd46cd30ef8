#include <gtest/gtest.h>

#include <vector>

#include "png/composite.h"

namespace zorv::png {
namespace {

using Bytes = ByteBuffer;

TEST(CompositeOnBackground, BlendFormula) {
  struct Case {
    std::uint8_t colour, alpha, background, expected;
  };
  for (const Case& c : std::vector<Case>{{200, 255, 7, 200}, {200, 0, 7, 7}, {255, 128, 0, 128}, {0, 1, 255, 254},
                                         {100, 200, 50, 89}}) {
    Bytes buffer = {c.colour, c.colour, c.colour, c.alpha};
    const Colour grey = MakeColour(c.background, c.background, c.background);
    CompositeOnBackground(Backdrop{nullptr, grey, 0, 0, ScreenMetrics{}}, buffer, 1, 1);
    EXPECT_EQ(buffer, Bytes({c.expected, c.expected, c.expected, 0}))
        << int{c.colour} << " at " << int{c.alpha} << " on " << int{c.background};
  }
}

TEST(CompositeOnBackground, PlainColourBehindTransparentPixels) {
  // 2 x 2, bottom row first; one transparent pixel per row.
  Bytes buffer = {1, 2, 3, 255, 0, 0, 0, 0, 4, 5, 6, 0, 7, 8, 9, 255};
  CompositeOnBackground(Backdrop{nullptr, MakeColour(0, 0, 255), 0, 0, ScreenMetrics{}}, buffer, 2, 2);
  EXPECT_EQ(buffer, Bytes({1, 2, 3, 255, 0, 0, 0, 0, 255, 0, 0, 7, 8, 9, 0, 0}));
}

class Striped final : public PictureObject {
 public:
  std::int32_t Width() const override { return width; }
  std::int32_t Height() const override { return height; }
  void SetWidth(std::int32_t twips) override { width = twips; }
  void SetHeight(std::int32_t twips) override { height = twips; }
  // Row r of the capture is grey 10 r + the row's place on the picture.
  Image Capture(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) const override {
    Image image(w, h);
    for (std::int32_t r = 0; r < h; ++r) {
      for (std::int32_t c = 0; c < w; ++c) {
        const auto level = static_cast<std::uint32_t>(10 * (r + y) + x);
        image.At(c, r) = PackRgb(level, level, level);
      }
    }
    return image;
  }
  std::int32_t width = 10'000;
  std::int32_t height = 30;
};

TEST(CompositeOnBackground, CapturesThePictureAtThePositionBottomRowFirst) {
  Striped picture;
  Bytes buffer(2 * 4, 0);  // 1 x 2, fully transparent
  CompositeOnBackground(Backdrop{&picture, 0, 3, 1, ScreenMetrics{}}, buffer, 1, 2);
  // The bottom row (first in the buffer) lies on the picture's row 2.
  EXPECT_EQ(buffer, Bytes({23, 23, 23, 0, 13, 13, 13, 0}));
  EXPECT_EQ(picture.width, 115);  // narrowed to the image plus 100 twips
  EXPECT_EQ(picture.height, 30);  // not higher than the image: kept
}

TEST(FillColour, GreyFillsEverythingOtherColoursOnlyPixels) {
  Bytes grey(8, 1);
  FillColour(grey, MakeColour(9, 9, 9), 4);
  EXPECT_EQ(grey, Bytes(8, 9));
  Bytes blue(8, 1);
  FillColour(blue, MakeColour(0, 0, 255), 4);
  EXPECT_EQ(blue, Bytes({255, 0, 0, 1, 255, 0, 0, 1}));
}

}  // namespace
}  // namespace zorv::png
