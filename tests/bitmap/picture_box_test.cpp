// What a picture box shows after each way of drawing into it and resizing it:
// the surface keeps the box's inner size, what was drawn stays at the top
// left, and a blank surface is the background colour at whatever size it has
// when it is looked at.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/picture_box.h"

namespace zorv {
namespace {

constexpr std::uint32_t kBack = 0xB0B0B0;
constexpr std::int32_t kTwips = 15;  // per pixel on the default screen

// A bitmap whose pixel (x, y) is 1 + x + 16 y.
Image Numbered(std::int32_t width, std::int32_t height) {
  Image image(width, height);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) image.At(x, y) = static_cast<std::uint32_t>(1 + x + 16 * y);
  }
  return image;
}

void Whole(PictureBox& box, Image bitmap, std::int32_t x = 0, std::int32_t y = 0) {
  const std::int32_t w = bitmap.width, h = bitmap.height;
  box.StretchCopy(std::move(bitmap), x, y, w, h, 0, 0, w, h);
}

struct ResizeCase {
  const char* name;
  std::function<void(PictureBox&)> steps;  // on a box of 3 x 2 pixels, nothing drawn
  std::int32_t width, height;
  std::vector<std::uint32_t> pixels;
};

TEST(PictureBox, TheSurfaceAfterDrawingAndResizing) {
  const std::uint32_t b = kBack;
  const std::vector<ResizeCase> cases = {
      {"blank", [](PictureBox&) {}, 3, 2, {b, b, b, b, b, b}},
      {"a bitmap of the surface's size becomes it", [](PictureBox& box) { Whole(box, Numbered(3, 2)); }, 3, 2,
       {1, 2, 3, 17, 18, 19}},
      {"a bitmap as wide but lower", [](PictureBox& box) { Whole(box, Numbered(3, 1)); }, 3, 2, {1, 2, 3, b, b, b}},
      {"a bitmap as high but narrower", [](PictureBox& box) { Whole(box, Numbered(2, 2)); }, 3, 2,
       {1, 2, b, 17, 18, b}},
      {"a bitmap larger than the surface is cut", [](PictureBox& box) { Whole(box, Numbered(4, 3), 1, 1); }, 3, 2,
       {b, b, b, b, 1, 2}},
      {"scaled up by the nearest pixel",
       [](PictureBox& box) { box.StretchCopy(Numbered(2, 1), 0, 0, 3, 2, 0, 0, 2, 1); }, 3, 2, {1, 1, 2, 1, 1, 2}},
      {"higher only: the drawing stays on top",
       [](PictureBox& box) {
         Whole(box, Numbered(3, 2));
         box.SetHeight(3 * kTwips);
       },
       3, 3, {1, 2, 3, 17, 18, 19, b, b, b}},
      {"narrower only",
       [](PictureBox& box) {
         Whole(box, Numbered(3, 2));
         box.SetWidth(2 * kTwips);
       },
       2, 2, {1, 2, 17, 18}},
      {"resized to its own size",
       [](PictureBox& box) {
         Whole(box, Numbered(3, 2));
         box.SetWidth(3 * kTwips);
       },
       3, 2, {1, 2, 3, 17, 18, 19}},
      {"cleared, then resized: blank at the new size",
       [](PictureBox& box) {
         Whole(box, Numbered(3, 2));
         box.Cls();
         box.SetWidth(kTwips);
       },
       1, 2, {b, b}},
      {"resized while blank, then drawn",
       [](PictureBox& box) {
         box.SetWidth(4 * kTwips);
         Whole(box, Numbered(1, 1), 3, 1);
       },
       4, 2, {b, b, b, b, b, b, b, 1}},
  };
  const ScreenMetrics screen;
  for (const ResizeCase& c : cases) {
    PictureBox box(screen, nullptr, 0, kBack);
    box.SetWidth(3 * kTwips);
    box.SetHeight(2 * kTwips);
    c.steps(box);
    const Image& image = box.Image();
    EXPECT_EQ(image.width, c.width) << c.name;
    EXPECT_EQ(image.height, c.height) << c.name;
    EXPECT_EQ(image.pixels, c.pixels) << c.name;
  }
}

TEST(PictureBox, ResizedToItsOwnSizeTheSurfaceIsNotMadeAgain) {
  const ScreenMetrics screen;
  PictureBox box(screen, nullptr, 0, kBack);
  box.SetWidth(2 * kTwips);
  box.SetHeight(kTwips);
  Whole(box, Numbered(2, 1));
  const std::uint32_t* pixels = box.Image().pixels.data();
  box.SetHeight(kTwips);
  EXPECT_EQ(box.Image().pixels.data(), pixels);
}

TEST(PictureBox, TheKeptPictureIsNotDrawnOver) {
  const ScreenMetrics screen;
  PictureBox box(screen, nullptr, 0, kBack);
  box.SetWidth(2 * kTwips);
  box.SetHeight(kTwips);
  Whole(box, Numbered(2, 1));
  box.KeepImageAsPicture();
  Whole(box, Image(1, 1, 7));
  EXPECT_EQ(box.Picture().pixels, (std::vector<std::uint32_t>{1, 2}));
  EXPECT_EQ(box.Image().pixels, (std::vector<std::uint32_t>{7, 2}));
}

// The kept picture's pixels leave the box for the drawing that replaces them
// only while nothing else is shown in their place.
TEST(PictureBox, TheKeptPicturesPixelsMoveOutWhenNothingElseIsShown) {
  const ScreenMetrics screen;
  struct Step {
    const char* name;
    std::function<void(PictureBox&)> steps;
    bool released;
  };
  const std::vector<Step> cases = {
      {"kept and shown", [](PictureBox&) {}, true},
      {"kept, then the surface cleared", [](PictureBox& box) { box.Cls(); }, true},
      {"kept, then drawn over", [](PictureBox& box) { Whole(box, Image(1, 1, 7)); }, false},
  };
  const std::vector<std::uint32_t> kept = {1, 2};
  for (const Step& c : cases) {
    PictureBox box(screen, nullptr, 0, kBack);
    box.SetWidth(2 * kTwips);
    box.SetHeight(kTwips);
    Whole(box, Numbered(2, 1));
    box.KeepImageAsPicture();
    c.steps(box);
    EXPECT_EQ(box.ReleasePicturePixels(), c.released ? kept : std::vector<std::uint32_t>{}) << c.name;
    EXPECT_EQ(box.Picture().pixels, c.released ? std::vector<std::uint32_t>{} : kept) << c.name;
  }
}

}  // namespace
}  // namespace zorv
