// Small crafted files for what the test suites do not hold: each header's
// stages seen from the bitmap it becomes and the picture drawn into the box,
// the settings the report window does not use, and image data that fails.
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
using Pixels = std::vector<std::uint32_t>;
using Chunks = std::vector<std::pair<std::string, Bytes>>;

constexpr std::uint32_t kUntouched = 0x123456;

// A window whose pixel (x, y) is grey 10 y + x.
class Striped final : public PictureObject {
 public:
  std::int32_t Width() const override { return width; }
  std::int32_t Height() const override { return height; }
  void SetWidth(std::int32_t twips) override { width = twips; }
  void SetHeight(std::int32_t twips) override { height = twips; }
  Image Capture(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                std::vector<std::uint32_t> storage) const override {
    Image image(w, h, 0, std::move(storage));
    for (std::int32_t r = 0; r < h; ++r) {
      for (std::int32_t c = 0; c < w; ++c) image.At(c, r) = 0x010101U * static_cast<std::uint32_t>(10 * (r + y) + c + x);
    }
    return image;
  }
  std::int32_t width = 100'000;
  std::int32_t height = 30;
};

struct Settings {
  bool alpha = true;
  bool trans = true;
  bool window = true;  // a window behind the image
  Colour ownColour = 0;
  std::int32_t x = 0, y = 0;  // drawn onto the box's background there
};

struct Case {
  const char* name;
  Bytes header;
  Chunks chunks;
  Bytes rows;
  Pixels picture;  // the box's pixels, kUntouched when nothing is drawn
  int bitCount = 0;
  std::int32_t biHeight = 0;
  Settings settings = {};
  int failure = 0;
};

class DecodeImageTest : public ::testing::Test {
 protected:
  void Check(const Case& c) {
    testing::PngBuilder png;
    png.Chunk("IHDR", c.header);
    for (const auto& [type, data] : c.chunks) png.Chunk(type, data);
    if (!c.rows.empty()) png.Image(c.rows);
    const std::string path = folder.Write("image.png", png.End().Str()).string();
    PictureBox box{screen, nullptr, 0, 0};
    box.SetPicture(Image(1, 1, kUntouched));
    Striped window;
    const bool toBackground = c.settings.x != 0 || c.settings.y != 0;
    if (toBackground) box.SetWidth(6 * 15), box.SetHeight(4 * 15);
    decoder.PicBox(&box);
    decoder.SetToBkgrnd(toBackground, c.settings.x, c.settings.y);
    decoder.BackgroundPicture(c.settings.window ? &window : nullptr);
    decoder.SetOwnBkgndColor(c.settings.ownColour != 0, c.settings.ownColour);
    decoder.SetAlpha(c.settings.alpha);
    decoder.SetTrans(c.settings.trans);
    int failure = 0;
    try {
      decoder.OpenPNG(path);
    } catch (const RunTimeError& error) {
      failure = error.Number();
    }
    EXPECT_EQ(failure, c.failure) << c.name;
    EXPECT_EQ(decoder.ErrorNumber(), 0) << c.name;
    EXPECT_EQ(box.Picture().pixels, c.picture) << c.name;
    if (c.bitCount == 0) return;
    const BitmapInfoHeader& header = c.bitCount == 1    ? bitmaps.BitmapInfo1().header
                                     : c.bitCount == 4  ? bitmaps.BitmapInfo4().header
                                     : c.bitCount == 8  ? bitmaps.BitmapInfo8().header
                                     : c.bitCount == 24 ? bitmaps.BitmapHeader24() : bitmaps.BitmapHeader32();
    EXPECT_EQ(header.biBitCount, c.bitCount) << c.name;
    EXPECT_EQ(header.biHeight, c.biHeight) << c.name << ": negative when the top row comes first";
    if (c.settings.window && !toBackground) {
      // Blended rows come bottom row first; the window behind is narrowed to the image.
      EXPECT_EQ(window.width, c.bitCount == 24 && c.biHeight > 0 ? 15 * c.header[3] + 100 : 100'000) << c.name;
    }
  }

  zorv::testing::TempFolder folder;
  ScreenMetrics screen;
  bitmap::CBitmap bitmaps{screen};
  LoadPNG decoder{bitmaps};
};

TEST_F(DecodeImageTest, EachHeaderDrawsItsPixels) {
  const Chunks palette = {{"PLTE", {10, 20, 30, 40, 50, 60, 70, 80, 90}}};
  const Chunks paletteTrns = {{"PLTE", {10, 20, 30, 40, 50, 60}}, {"tRNS", {0}}};
  const std::vector<Case> cases = {
      {"grey 8-bit", Ihdr(3, 1, 8, 0), {}, {0, 0, 127, 255}, {0, 0x7F7F7F, 0xFFFFFF}, 8, -1},
      {"grey 1-bit", Ihdr(10, 1, 1, 0), {}, {0, 0x80, 0x40}, {0xFFFFFF, 0, 0, 0, 0, 0, 0, 0, 0, 0xFFFFFF}, 1, -1},
      {"grey 2-bit", Ihdr(5, 1, 2, 0), {}, {0, 0x1B, 0x40}, {0, 0x555555, 0xAAAAAA, 0xFFFFFF, 0x555555}, 8, -1},
      {"grey 4-bit", Ihdr(2, 1, 4, 0), {}, {0, 0x1F}, {0x111111, 0xFFFFFF}, 4, -1},
      {"grey 16-bit", Ihdr(2, 1, 16, 0), {}, {0, 0x12, 0xFF, 0xAB, 0x00}, {0x121212, 0xABABAB}, 8, -1},
      {"grey 1-bit interlaced", Ihdr(1, 1, 1, 0, 1), {}, {0, 0x80}, {0xFFFFFF}, 8, -1},
      {"filter types 5 and 255 as none", Ihdr(2, 2, 8, 0), {}, {5, 1, 2, 255, 3, 4}, {0x010101, 0x020202, 0x030303, 0x040404}},
      {"Sub on 2-bit samples takes the byte before", Ihdr(8, 1, 2, 0), {}, {1, 0x10, 0x01},
       {0, 0x555555, 0, 0, 0, 0x555555, 0, 0x555555}},
      {"each pass starts against zeros", Ihdr(1, 2, 8, 0, 1), {}, {2, 50, 2, 7}, {0x323232, 0x070707}},
      {"2-bit palette interlaced", Ihdr(5, 1, 2, 3, 1), palette, {0, 0x40, 0, 0xBF, 0, 0xC0, 0, 0x9F},
       {0x28323C, 0x46505A, 0, 0x28323C, 0x46505A}, 8, -1},
      {"palette 2-bit", Ihdr(5, 1, 2, 3), palette, {0, 0x1B, 0x40}, {0x0A141E, 0x28323C, 0x46505A, 0, 0x28323C}, 8, -1},
      {"palette of 2 colours at 1 bit", Ihdr(2, 1, 1, 3), {{"PLTE", {1, 2, 3, 4, 5, 6}}}, {0, 0x40}, {0x010203, 0x040506}, 1, -1},
      {"16-bit RGB", Ihdr(1, 2, 16, 2), {}, {0, 1, 2, 3, 4, 5, 6, 0, 7, 8, 9, 10, 11, 12}, {0x010305, 0x07090B}, 24, -2},
      {"RGBA kept", Ihdr(1, 2, 8, 6), {}, {0, 1, 2, 3, 0, 0, 4, 5, 6, 255}, {0x010203, 0x040506}, 32, 2, {.alpha = false}},
      {"RGBA on the window", Ihdr(1, 2, 8, 6), {}, {0, 1, 2, 3, 0, 0, 4, 5, 6, 255}, {0, 0x040506}, 24, 2},
      {"grey alpha 16-bit", Ihdr(1, 1, 16, 4), {}, {0, 200, 1, 128, 2}, {0x646464}, 24, 1},
      {"RGBA on the file's bKGD", Ihdr(1, 1, 8, 6), {{"bKGD", {0, 0, 0, 255, 0, 0}}}, {0, 9, 9, 9, 0}, {0x00FF00}, 24, 1,
       {.window = false}},
      {"RGBA on a grey bKGD", Ihdr(2, 1, 8, 6), {{"bKGD", {0, 9, 0, 9, 0, 9}}}, {0, 1, 1, 1, 0, 2, 2, 2, 255}, {0x090909, 0x020202},
       24, 1, {.window = false}},
      {"RGBA on its own colour", Ihdr(1, 1, 8, 6), {{"bKGD", {0, 0, 0, 255, 0, 0}}}, {0, 9, 9, 9, 0}, {0x010203}, 24, 1,
       {.window = false, .ownColour = MakeColour(1, 2, 3)}},
      {"palette transparency", Ihdr(2, 1, 8, 3), paletteTrns, {0, 0, 1}, {0, 0x28323C}, 24, 1},
      {"palette of 8 bits, 10 wide: indices past the palette black", Ihdr(10, 1, 8, 3), palette,
       {0, 0, 1, 2, 3, 0, 1, 2, 255, 1, 0},
       {0x0A141E, 0x28323C, 0x46505A, 0, 0x0A141E, 0x28323C, 0x46505A, 0, 0x28323C, 0x0A141E}, 8, -1},
      {"palette transparency off", Ihdr(2, 1, 8, 3), paletteTrns, {0, 0, 1}, {0x0A141E, 0x28323C}, 8, -1, {.trans = false}},
      {"grey 8-bit level 127", Ihdr(3, 1, 8, 0), {{"tRNS", {0, 0x7F}}}, {0, 0x7F, 0x80, 0x7F}, {0, 0x808080, 0x020202}},
      {"grey 2-bit level 2", Ihdr(3, 1, 2, 0), {{"tRNS", {0, 2}}}, {0, 0x98}, {0, 0x555555, 0x020202}},
      {"grey 4-bit level 15 on the window", Ihdr(2, 2, 4, 0), {{"tRNS", {0, 15}}}, {0, 0xF1, 0, 0x2F}, {0, 0x111111, 0x222222, 0x0B0B0B}, 24, 2},
      {"RGB key, 5 wide", Ihdr(5, 2, 8, 2), {{"tRNS", {0, 9, 0, 8, 0, 7}}},
       {0, 9, 8, 7, 1, 1, 1, 9, 8, 7, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 9, 8, 7},
       {0, 0x010101, 0x020202, 0x010101, 0x010101, 0x010101, 0x010101, 0x010101, 0x010101, 0x0E0E0E}, 24, 2},
      {"RGB key 16-bit compares high bytes", Ihdr(2, 1, 16, 2), {{"tRNS", {9, 0, 8, 0, 7, 0}}},
       {0, 9, 1, 8, 2, 7, 3, 9, 1, 8, 2, 6, 3}, {0, 0x090806}},
      {"drawn onto the box's background", Ihdr(2, 2, 8, 6), {}, {0, 0, 0, 0, 0, 5, 5, 5, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0},
       {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0D0D0D, 0x050505, 0, 0, 0, 0, 0x171717, 0x181818, 0, 0, 0, 0, 0, 0, 0}, 24, 2,
       {.x = 3, .y = 1}},
      {"surplus data: whole rows of it come first", Ihdr(1, 1, 8, 6), {}, {0, 10, 20, 30, 255, 9, 9, 9, 9}, {0}, 24, 1},
      {"colour type 5", Ihdr(1, 1, 8, 5), {}, Bytes(9, 0), {kUntouched}},
      {"palette of 16 bits", Ihdr(1, 1, 16, 3), {{"tRNS", {0, 0}}}, Bytes(9, 0), {kUntouched}},
      {"grey of 3 bits", Ihdr(1, 1, 3, 0), {{"tRNS", {0, 0}}}, Bytes(9, 0), {kUntouched}},
      {"rows missing", Ihdr(4, 4, 8, 2), {}, {0, 1, 2, 3}, {kUntouched}, 0, 0, {}, 9},
      {"interlaced rows missing", Ihdr(8, 8, 8, 0, 1), {}, Bytes(71, 0), {kUntouched}, 0, 0, {}, 9},
      {"palette index beyond the palette", Ihdr(1, 1, 8, 3), paletteTrns, {0, 2}, {kUntouched}, 0, 0, {}, 9},
      {"grey level beyond the depth", Ihdr(1, 1, 2, 0), {{"tRNS", {0, 4}}}, {0, 0}, {kUntouched}, 0, 0, {}, 9},
      {"RGB key too short", Ihdr(1, 1, 8, 2), {{"tRNS", {0, 1}}}, {0, 1, 1, 1}, {kUntouched}, 0, 0, {}, 9},
  };
  for (const Case& c : cases) Check(c);
}

TEST_F(DecodeImageTest, AnotherCompressionMethodIsNotInflatedAndHugeHeadersAreOutOfMemory) {
  Check({"compression 1", Ihdr(2, 1, 8, 0, 0, 1), {{"IDAT", {0x78, 0x01, 0, 30, 40}}}, {}, {0x1E1E1E, 0x282828}});
  for (const Bytes& header : {Ihdr(100'000, 100'000, 8, 6), Ihdr(0x80000000U, 1, 8, 0), Ihdr(20'000, 20'000, 16, 6),
                              Ihdr(1, 0x7FFFFFFF, 8, 2), Ihdr(1'946'157'313, 0, 8, 4), Ihdr(0x7FFFFFFF, 0, 1, 0)}) {
    Check({"huge", header, {}, {0}, {kUntouched}, 0, 0, {}, 7});
  }
}

// A picture drawn over one of at least its size takes that one's memory (as
// the capture of the window behind a transparent one does), and draws what a
// fresh box shows.
TEST_F(DecodeImageTest, APictureTakesTheMemoryOfTheOneItReplaces) {
  const Chunks palette = {{"PLTE", {10, 20, 30, 40, 50, 60}}};
  enum class Behind { kColour, kWindow };
  struct Replacing {
    const char* name;
    Bytes header;
    Chunks chunks;
    Bytes rows;
    Behind behind;
    Pixels picture;
  };
  // RGBA: a clear pixel above an opaque one, so that both the blend and what lies behind show.
  const Bytes rgbaRows = {0, 1, 2, 3, 0, 0, 4, 5, 6, 255};
  const std::vector<Replacing> cases = {
      {"8-bit palette, Up", Ihdr(2, 2, 8, 3), palette, {0, 0, 1, 2, 1, 0}, Behind::kColour,
       {0x0A141E, 0x28323C, 0x28323C, 0x28323C}},
      {"8-bit RGB", Ihdr(1, 2, 8, 2), {}, {0, 1, 2, 3, 1, 4, 4, 4}, Behind::kColour, {0x010203, 0x040404}},
      {"8-bit RGB interlaced", Ihdr(1, 2, 8, 2, 1), {}, {0, 1, 2, 3, 0, 5, 6, 7}, Behind::kColour, {0x010203, 0x050607}},
      {"8-bit RGBA onto a colour", Ihdr(1, 2, 8, 6), {}, rgbaRows, Behind::kColour, {0, 0x040506}},
      {"8-bit RGBA onto a window", Ihdr(1, 2, 8, 6), {}, rgbaRows, Behind::kWindow, {0, 0x040506}},
      {"8-bit RGBA interlaced onto a window", Ihdr(1, 2, 8, 6, 1), {}, rgbaRows, Behind::kWindow, {0, 0x040506}},
  };
  for (const Replacing& c : cases) {
    testing::PngBuilder png;
    png.Chunk("IHDR", c.header);
    for (const auto& [type, data] : c.chunks) png.Chunk(type, data);
    png.Image(c.rows);
    const std::string path = folder.Write("image.png", png.End().Str()).string();
    PictureBox box{screen, nullptr, 0, kUntouched};
    box.SetWidth(15), box.SetHeight(30);  // one pixel by two, all of the box's colour
    Striped window;
    decoder.PicBox(&box);
    decoder.SetToBkgrnd(false);
    decoder.SetAlpha(true);
    decoder.BackgroundPicture(c.behind == Behind::kWindow ? &window : nullptr);
    box.SetPicture(Image(1, 1, kUntouched));
    decoder.OpenPNG(path);
    const std::uint32_t* first = box.Picture().pixels.data();
    decoder.OpenPNG(path);
    EXPECT_EQ(box.Picture().pixels, c.picture) << c.name;
    EXPECT_EQ(box.Picture().pixels.data(), first) << c.name;
  }
}

// A box that is its own background shows its last picture through a clear
// pixel: that picture is captured, not given up for its memory.
TEST_F(DecodeImageTest, ABoxBehindItsOwnPictureShowsTheOneBefore) {
  const auto write = [&](const char* name, const Bytes& header, const Bytes& rows) {
    testing::PngBuilder png;
    png.Chunk("IHDR", header);
    png.Image(rows);
    return folder.Write(name, png.End().Str()).string();
  };
  const std::string opaque = write("opaque.png", Ihdr(1, 2, 8, 2), {0, 1, 2, 3, 0, 4, 4, 4});
  const std::string clearAtTop = write("clear.png", Ihdr(1, 2, 8, 6), {0, 9, 9, 9, 0, 0, 4, 5, 6, 255});
  PictureBox box{screen, nullptr, 0, kUntouched};
  box.SetWidth(15), box.SetHeight(30);
  decoder.PicBox(&box);
  decoder.SetToBkgrnd(false);
  decoder.SetAlpha(true);
  decoder.BackgroundPicture(&box);
  decoder.OpenPNG(opaque);
  decoder.OpenPNG(clearAtTop);
  EXPECT_EQ(box.Picture().pixels, Pixels({0x010203, 0x040506}));
}

}  // namespace
}  // namespace zorv::png
