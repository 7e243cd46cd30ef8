// Which stages run for which header, seen from the bitmap each image becomes
// and the picture drawn into the box.
#include <gtest/gtest.h>

#include "bitmap/cbitmap.h"
#include "platform/run_time_error.h"
#include "png/load_png.h"
#include "png_builder.h"
#include "support/temp_folder.h"

namespace zorv::png {
namespace {

using testing::Bytes;
using testing::Ihdr;
using testing::PngBuilder;
using Pixels = std::vector<std::uint32_t>;

constexpr Colour kBlue = MakeColour(0, 0, 255);

struct Settings {
  bool alpha = true;
  bool trans = true;
  bool backgroundPicture = true;  // a plain blue window behind the image
  Colour ownColour = 0;
};

class DecodeImageTest : public ::testing::Test {
 protected:
  // Decodes the file into the box; the failure number when it leaves OpenPNG.
  int Decode(const PngBuilder& png, const Settings& settings = {}) {
    const auto path = folder.Write("image.png", png.Str()).string();
    decoder.PicBox(&box);
    decoder.SetToBkgrnd(false, 0, 0);
    decoder.BackgroundPicture(settings.backgroundPicture ? &window : nullptr);
    decoder.SetOwnBkgndColor(settings.ownColour != 0, settings.ownColour);
    decoder.SetAlpha(settings.alpha);
    decoder.SetTrans(settings.trans);
    try {
      decoder.OpenPNG(path);
    } catch (const RunTimeError& failure) {
      return failure.Number();
    }
    return 0;
  }

  zorv::testing::TempFolder folder;
  ScreenMetrics screen;
  bitmap::CBitmap bitmaps{screen};
  LoadPNG decoder{bitmaps};
  PictureBox box{screen};
  PlainColourPicture window{kBlue, 100'000, 100'000};
};

TEST_F(DecodeImageTest, GreyImagesBecomeIndexedBitmaps) {
  struct Case {
    const char* name;
    Bytes header;
    Bytes rows;
    int bitCount;
    Pixels picture;
  };
  const std::vector<Case> cases = {
      {"8-bit, 3 wide", Ihdr(3, 1, 8, 0), {0, 0, 127, 255}, 8, {0, 0x7F7F7F, 0xFFFFFF}},
      {"1-bit, 10 wide", Ihdr(10, 1, 1, 0), {0, 0b10000000, 0b01000000}, 1,
       {0xFFFFFF, 0, 0, 0, 0, 0, 0, 0, 0, 0xFFFFFF}},
      {"2-bit, unpacked", Ihdr(4, 1, 2, 0), {0, 0b00011011}, 8, {0, 0x555555, 0xAAAAAA, 0xFFFFFF}},
      {"4-bit", Ihdr(2, 1, 4, 0), {0, 0x1F}, 4, {0x111111, 0xFFFFFF}},
      {"16-bit, high bytes", Ihdr(2, 1, 16, 0), {0, 0x12, 0xFF, 0xAB, 0x00}, 8, {0x121212, 0xABABAB}},
      {"1-bit interlaced", Ihdr(1, 1, 1, 0, 1), {0, 0x80}, 8, {0xFFFFFF}},
  };
  for (const Case& c : cases) {
    PngBuilder png;
    png.Chunk("IHDR", c.header).Image(c.rows).End();
    ASSERT_EQ(Decode(png), 0) << c.name;
    EXPECT_EQ(box.Picture().pixels, c.picture) << c.name;
    const BitmapInfoHeader& header = c.bitCount == 1   ? bitmaps.BitmapInfo1().header
                                     : c.bitCount == 4 ? bitmaps.BitmapInfo4().header
                                                       : bitmaps.BitmapInfo8().header;
    EXPECT_EQ(header.biBitCount, c.bitCount) << c.name;
    EXPECT_EQ(header.biHeight, -1) << c.name << ": top row first";
  }
}

TEST_F(DecodeImageTest, TrueColourRowOrderAndDepth) {
  struct Case {
    const char* name;
    Bytes header;
    Bytes rows;
    Settings settings;
    int bitCount;
    std::int32_t biHeight;
    Pixels picture;
  };
  const std::vector<Case> cases = {
      {"16-bit RGB", Ihdr(1, 2, 16, 2), {0, 1, 2, 3, 4, 5, 6, 0, 7, 8, 9, 10, 11, 12}, {}, 24, -2,
       {0x010305, 0x07090B}},
      {"RGBA kept", Ihdr(1, 2, 8, 6), {0, 1, 2, 3, 0, 0, 4, 5, 6, 255}, {.alpha = false}, 32, 2,
       {0x010203, 0x040506}},
      {"RGBA blended", Ihdr(1, 2, 8, 6), {0, 1, 2, 3, 0, 0, 4, 5, 6, 255}, {}, 24, 2, {0x0000FF, 0x040506}},
      {"grey alpha", Ihdr(1, 1, 8, 4), {0, 200, 128}, {}, 24, 1, {0x6464E3}},
  };
  for (const Case& c : cases) {
    PngBuilder png;
    png.Chunk("IHDR", c.header).Image(c.rows).End();
    ASSERT_EQ(Decode(png, c.settings), 0) << c.name;
    EXPECT_EQ(box.Picture().pixels, c.picture) << c.name;
    const BitmapInfoHeader& header = c.bitCount == 24 ? bitmaps.BitmapHeader24() : bitmaps.BitmapHeader32();
    EXPECT_EQ(header.biHeight, c.biHeight) << c.name;
  }
}

TEST_F(DecodeImageTest, PaletteTransparencyOnlyWhenAskedFor) {
  PngBuilder png;
  png.Chunk("IHDR", Ihdr(2, 1, 8, 3)).Chunk("PLTE", {10, 20, 30, 40, 50, 60}).Chunk("tRNS", {0});
  png.Image({0, 0, 1}).End();
  ASSERT_EQ(Decode(png), 0);
  EXPECT_TRUE(decoder.HaveTransparence());
  EXPECT_EQ(box.Picture().pixels, (Pixels{0x0000FF, 0x28323C}));
  EXPECT_EQ(bitmaps.BitmapHeader24().biHeight, 1);  // bottom row first after compositing

  ASSERT_EQ(Decode(png, {.trans = false}), 0);
  EXPECT_EQ(box.Picture().pixels, (Pixels{0x0A141E, 0x28323C}));
  EXPECT_EQ(bitmaps.BitmapInfo8().header.biHeight, -1);
}

TEST_F(DecodeImageTest, GreyAndRgbTransparentColours) {
  struct Case {
    const char* name;
    Bytes header;
    Bytes trns;
    Bytes rows;
    Pixels picture;
  };
  const std::vector<Case> cases = {
      {"grey 8-bit level 127", Ihdr(3, 1, 8, 0), {0, 0x7F}, {0, 0x7F, 0x80, 0x7F}, {0x0000FF, 0x808080, 0x0000FF}},
      {"grey 2-bit level 2", Ihdr(3, 1, 2, 0), {0, 2}, {0, 0b10011000}, {0x0000FF, 0x555555, 0x0000FF}},
      {"RGB 8-bit, 5 wide with padding", Ihdr(5, 2, 8, 2), {0, 9, 0, 8, 0, 7},
       {0, 9, 8, 7, 1, 1, 1, 9, 8, 7, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 9, 8, 7},
       {0x0000FF, 0x010101, 0x0000FF, 0x010101, 0x010101, 0x010101, 0x010101, 0x010101, 0x010101, 0x0000FF}},
      {"RGB 16-bit compares high bytes", Ihdr(2, 1, 16, 2), {9, 0, 8, 0, 7, 0},
       {0, 9, 1, 8, 2, 7, 3, 9, 1, 8, 2, 6, 3}, {0x0000FF, 0x090806}},
  };
  for (const Case& c : cases) {
    PngBuilder png;
    png.Chunk("IHDR", c.header).Chunk("tRNS", c.trns).Image(c.rows).End();
    ASSERT_EQ(Decode(png), 0) << c.name;
    EXPECT_EQ(box.Picture().pixels, c.picture) << c.name;
  }
}

TEST_F(DecodeImageTest, PlainColourBehindTheImageWithoutAWindow) {
  PngBuilder png;
  png.Chunk("IHDR", Ihdr(1, 1, 8, 6)).Chunk("bKGD", {0, 0, 0, 255, 0, 0}).Image({0, 9, 9, 9, 0}).End();
  ASSERT_EQ(Decode(png, {.backgroundPicture = false}), 0);
  EXPECT_EQ(box.Picture().pixels, (Pixels{0x00FF00}));  // the file's bKGD colour
  ASSERT_EQ(Decode(png, {.backgroundPicture = false, .ownColour = MakeColour(1, 2, 3)}), 0);
  EXPECT_EQ(box.Picture().pixels, (Pixels{0x010203}));
}

TEST_F(DecodeImageTest, TheWindowBehindIsNarrowedToTheImage) {
  PngBuilder png;
  png.Chunk("IHDR", Ihdr(4, 2, 8, 6)).Image(Bytes(2 * 17, 0)).End();
  ASSERT_EQ(Decode(png), 0);
  EXPECT_EQ(window.Width(), 4 * 15 + 100);
  EXPECT_EQ(window.Height(), 2 * 15 + 100);
}

TEST_F(DecodeImageTest, HeadersOutsideTheTableDrawNothing) {
  box.SetPicture(Image(1, 1, 0x123456));
  const std::vector<Bytes> headers = {Ihdr(1, 1, 16, 3), Ihdr(1, 1, 3, 0), Ihdr(1, 1, 8, 5)};
  for (const Bytes& header : headers) {
    PngBuilder png;
    png.Chunk("IHDR", header).Chunk("tRNS", {0, 0}).Image(Bytes(9, 0)).End();
    EXPECT_EQ(Decode(png), 0);
    EXPECT_EQ(decoder.ErrorNumber(), 0);
    EXPECT_EQ(box.Picture(), Image(1, 1, 0x123456));
  }
}

TEST_F(DecodeImageTest, AnotherCompressionMethodIsNotInflated) {
  PngBuilder png;
  png.Chunk("IHDR", Ihdr(2, 1, 8, 0, 0, 1)).Chunk("IDAT", {0x78, 0x01, 0, 30, 40}).End();
  ASSERT_EQ(Decode(png), 0);
  EXPECT_EQ(box.Picture().pixels, (Pixels{0x1E1E1E, 0x282828}));
}

TEST_F(DecodeImageTest, AHeaderClaimingAHugeImageIsOutOfMemory) {
  const std::vector<Bytes> headers = {Ihdr(100'000, 100'000, 8, 6), Ihdr(0x80000000U, 1, 8, 0),
                                      Ihdr(20'000, 20'000, 16, 6), Ihdr(1, 0x7FFFFFFF, 8, 2),
                                      Ihdr(1'946'157'313, 0, 8, 4), Ihdr(0x7FFFFFFF, 0, 1, 0)};
  for (const Bytes& header : headers) {
    PngBuilder png;
    png.Chunk("IHDR", header).Image({0}).End();
    EXPECT_EQ(Decode(png), 7);
  }
}

TEST_F(DecodeImageTest, ShortImageDataFailsWithoutDrawing) {
  box.SetPicture(Image(1, 1, 0x123456));
  PngBuilder png;
  png.Chunk("IHDR", Ihdr(4, 4, 8, 2)).Image({0, 1, 2, 3}).End();
  EXPECT_EQ(Decode(png), 9);
  EXPECT_EQ(box.Picture(), Image(1, 1, 0x123456));
}

}  // namespace
}  // namespace zorv::png
