// The decoder's public state after each file: its ErrorNumber, the header
// fields, texts, time stamp, gamma and background colour, and what carries
// over from one file to the next on the same object.
#include <gtest/gtest.h>

#include "bitmap/cbitmap.h"
#include "platform/run_time_error.h"
#include "png/load_png.h"
#include "png_builder.h"
#include "support/silent_messages.h"
#include "support/temp_folder.h"

namespace zorv::png {
namespace {

using testing::Bytes;
using testing::Ihdr;
using testing::PngBuilder;

// A 2 x 1 grey image, ready for its IEND.
PngBuilder GreyImage() {
  PngBuilder png;
  png.Chunk("IHDR", Ihdr(2, 1, 8, 0)).Image({0, 10, 20});
  return png;
}

class LoadPngTest : public ::testing::Test {
 protected:
  // The failure number when OpenPNG fails.
  int OpenPath(const std::string& path, LoadPNG& used) {
    used.PicBox(&box);
    try {
      EXPECT_EQ(used.OpenPNG(path), 0);
    } catch (const RunTimeError& failure) {
      return failure.Number();
    }
    return 0;
  }
  int Open(const std::string& bytes, LoadPNG* other = nullptr) {
    return OpenPath(folder.Write("image.png", bytes).string(), other ? *other : decoder);
  }

  zorv::testing::TempFolder folder;
  ScreenMetrics screen;
  bitmap::CBitmap bitmaps{screen};
  zorv::testing::SilentMessages messages;
  LoadPNG decoder{bitmaps, messages};
  PictureBox box{screen};
};

TEST_F(LoadPngTest, ErrorNumbersOfBrokenFilesOnAFreshObject) {
  EXPECT_EQ(decoder.Text() + decoder.zText() + decoder.ModiTime(), "");
  EXPECT_EQ(decoder.Width() | decoder.Height() | decoder.Bitdepht() | decoder.ColorType() | decoder.Compression() |
                decoder.Filter() | decoder.Interlacing() | decoder.ErrorNumber() | decoder.BkgdColor(), 0);
  EXPECT_FALSE(decoder.HaveAlpha() || decoder.HaveTransparence() || decoder.HasBKGDChunk() || decoder.gama() != 0.0);
  const std::string good = GreyImage().End().Str();
  std::string negativeLength = GreyImage().Str() + std::string("\x80\0\0\0IEND\0\0\0\0", 12);
  std::vector<std::pair<std::string, int>> cases = {
      {good, 0}, {"", 1}, {good.substr(0, 8), 3}, {GreyImage().Str().substr(0, good.size() - 20), 3},
      {GreyImage().Str(), 3}, {good.substr(0, good.size() - 3), 0},  // IEND's CRC cut to one byte is enough
      {good.substr(0, good.size() - 4), 3}, {negativeLength, 3},
      {PngBuilder().Chunk("IHDR", Ihdr(2, 1, 8, 0)).End().Str(), 4},
      {PngBuilder().Chunk("IHDR", Ihdr(2, 1, 8, 0)).Chunk("IDAT", {}).End().Str(), 4}};
  for (std::size_t i = 0; i < 8; ++i) cases.emplace_back(good, 1), cases.back().first[i] ^= 0x20;
  for (const auto& [file, errorNumber] : cases) {
    LoadPNG fresh(bitmaps, messages);
    Open(file, &fresh);
    EXPECT_EQ(fresh.ErrorNumber(), errorNumber) << ::testing::PrintToString(file);
  }
  EXPECT_EQ(OpenPath((folder.Path() / "none.png").string(), decoder), 0);
  EXPECT_EQ(decoder.ErrorNumber(), 1) << "a missing file is not a PNG file";
  EXPECT_EQ(Open(good), 0);
  EXPECT_EQ(decoder.ErrorNumber(), 1) << "never cleared";
  EXPECT_EQ(box.Picture().width, 2) << "the next file is drawn all the same";
  EXPECT_EQ(OpenPath(folder.Str(), decoder), 75);
  EXPECT_EQ(OpenPath((folder.Path() / "no folder" / "image.png").string(), decoder), 75);
}

TEST_F(LoadPngTest, ChunksJoinedSkippedAndReadShort) {
  const Bytes stream = testing::StoredZlib({0, 10, 20, 0, 30, 40});
  PngBuilder png;  // image data in pieces, an empty one and other chunks between
  png.Chunk("IHDR", Ihdr(2, 2, 8, 0)).Chunk("IDAT", Bytes(stream.begin(), stream.begin() + 3)).Chunk("IDAT", {});
  png.Chunk("ABCD", {1, 2, 3}).Chunk("iHDR", Ihdr(9, 9, 16, 6)).Chunk("tExt", {'x', 0, 'y'});
  png.Chunk("IDAT", Bytes(stream.begin() + 3, stream.end())).Chunk("idat", {1, 2, 3}).End();
  EXPECT_EQ(Open(png.Str()), 0);
  EXPECT_EQ(box.Picture().pixels, (std::vector<std::uint32_t>{0x0A0A0A, 0x141414, 0x1E1E1E, 0x282828}));
  EXPECT_EQ(decoder.Width(), 2);
  EXPECT_EQ(decoder.Text(), "");

  Open(PngBuilder().Chunk("IHDR", {0, 0, 1, 2, 0x80, 0, 0, 3, 16, 6, 1, 2, 1}).End().Str());
  EXPECT_EQ(std::vector<std::int64_t>({decoder.Width(), decoder.Height(), decoder.Bitdepht(), decoder.ColorType(),
                                       decoder.Compression(), decoder.Filter(), decoder.Interlacing()}),
            std::vector<std::int64_t>({258, static_cast<std::int32_t>(0x80000003U), 16, 6, 1, 2, 1}));
  // A short header reads its missing bytes as zero.
  Open(PngBuilder().Chunk("IHDR", {0, 0, 0, 2, 0, 0, 0, 1, 8}).Image({0, 10, 20}).End().Str());
  EXPECT_EQ(decoder.Width() + decoder.Bitdepht() + decoder.ColorType() + decoder.Interlacing(), 10);
  EXPECT_EQ(box.Picture().width, 2);
}

TEST_F(LoadPngTest, TextsGrowAcrossFiles) {
  Open(GreyImage().Text("tEXt", std::string("Title\0One", 9)).Text("tEXt", std::string("A\0B", 3)).End().Str());
  Open(GreyImage().Text("tEXt", std::string("Title\0Two", 9)).End().Str());
  EXPECT_EQ(decoder.Text(), std::string("Title\0One\0A\0B\0Title\0Two\0", 24));
  Bytes ztxt = {'K', 'e', 'y', 0, 0};
  const Bytes stream = testing::StoredZlib({'h', 'i', 0xE9});
  ztxt.insert(ztxt.end(), stream.begin(), stream.end());
  Open(GreyImage().Chunk("zTXt", ztxt).End().Str());
  EXPECT_EQ(Open(GreyImage().Chunk("zTXt", {'K', 'e', 'y'}).End().Str()), 9);  // a keyword alone: nothing to inflate
  EXPECT_EQ(decoder.zText(), std::string("Key\0hi\xE9\0Key\0", 12));
  EXPECT_EQ(Open(GreyImage().Chunk("zTXt", {0, 0, 0x78, 1, 1, 0, 0, 0xFF, 0xFF}).End().Str()), 9);  // no keyword
}

TEST_F(LoadPngTest, TimeStampAndGamma) {
  const std::vector<std::pair<Bytes, std::string>> times = {
      {{0x07, 0xD4, 5, 7, 14, 3, 9}, "07.05.2004 14:03:09"}, {{0x07, 0xCF, 12, 31, 23, 59, 60}, "31.12.1999 23:59:60"},
      {{0x03, 0x20, 1, 1, 0, 0, 0}, "01.01.800 00:00:00"},  {{0xFF, 0xFF, 1, 2, 3, 4, 5, 99}, "02.01.-1 03:04:05"},
      {{0x07, 0xD0, 1, 1, 200, 0, 0}, "01.01.2000 200:00:00"}};
  for (const auto& [data, shown] : times) {
    Open(GreyImage().Chunk("tIME", data).Chunk("gAMA", {0, 0, 0xAF, 0xC8}).End().Str());
    EXPECT_EQ(decoder.ModiTime(), shown);
  }
  EXPECT_DOUBLE_EQ(decoder.gama(), 0.45);
  Open(GreyImage().Chunk("gAMA", {0, 1}).End().Str());  // missing bytes read as zero
  EXPECT_DOUBLE_EQ(decoder.gama(), 0.65536);
  EXPECT_EQ(decoder.ModiTime(), "01.01.2000 200:00:00");  // kept without a tIME chunk
  EXPECT_EQ(Open(GreyImage().Chunk("tIME", {0x07, 0xD4, 5, 7, 14, 3}).End().Str()), 9);
}

TEST_F(LoadPngTest, BackgroundColourByTheHeaderAndPaletteReadBeforeIt) {
  const Bytes palette = {1, 2, 3, 4, 5, 6, 7};  // two whole entries
  struct Case {
    std::uint8_t depth, colourType;
    Bytes bkgd;
    Colour expected;
  };
  const std::vector<Case> cases = {
      {2, 0, {0, 2}, MakeColour(170, 170, 170)}, {2, 0, {0, 4}, 0}, {1, 4, {0, 1}, 0xFFFFFF}, {1, 0, {0, 2}, 0},
      {4, 0, {0, 15}, 0xFFFFFF}, {4, 0, {0, 16}, 0}, {8, 4, {0, 255}, 0xFFFFFF}, {8, 0, {1, 44}, 0},
      {16, 0, {0, 128}, MakeColour(128, 128, 128)}, {16, 0, {1, 44}, 0}, {0, 0, {0, 0}, 0}, {17, 0, {0, 128}, 0},
      {3, 0, {0, 7}, MakeColour(252, 252, 252)}, {16, 0, {0, 255}, 0xFFFFFF}, {16, 0, {1, 0}, 0},
      {8, 0, {0, 1, 0}, 0}, {16, 2, {0xFF, 0xFF, 0x80, 0x00, 0, 0}, MakeColour(255, 128, 0)},
      {8, 6, {0, 10, 0, 20, 0, 30}, MakeColour(10, 20, 30)}, {8, 2, {0x01, 0x00, 0, 0, 0, 0}, MakeColour(255, 0, 0)},
      {8, 2, {0x80, 0x00, 0, 0, 0, 0}, 0}, {1, 2, {0, 1, 0, 0, 0, 1}, MakeColour(255, 0, 255)},
      {0, 2, {0, 0, 0, 0, 0, 0}, 0}, {8, 2, {0, 0, 0, 0, 0}, 0}, {8, 3, {1}, MakeColour(4, 5, 6)},
      {8, 5, {0}, MakeColour(4, 5, 6)},  // a type without background keeps the colour
      {8, 3, {2}, 0}, {8, 3, {0, 0}, 0}};
  for (const Case& c : cases) {
    Open(PngBuilder().Chunk("IHDR", Ihdr(1, 1, c.depth, c.colourType)).Chunk("PLTE", palette).Chunk("bKGD", c.bkgd).End().Str());
    EXPECT_TRUE(decoder.HasBKGDChunk());
    EXPECT_EQ(decoder.BkgdColor(), c.expected) << int{c.depth} << " " << int{c.colourType} << " " << c.bkgd.size();
  }
  // Read before IHDR and PLTE, bKGD follows the header and palette of the earlier file.
  PngBuilder early;
  early.Chunk("bKGD", {1}).Chunk("IHDR", Ihdr(1, 1, 8, 3)).Chunk("PLTE", {9, 9, 9, 8, 8, 8}).Image({0, 1}).End();
  Open(early.Str());
  EXPECT_EQ(decoder.BkgdColor(), MakeColour(4, 5, 6));
  Open(early.Str());
  EXPECT_EQ(decoder.BkgdColor(), MakeColour(8, 8, 8));
  Open(GreyImage().End().Str());
  EXPECT_FALSE(decoder.HasBKGDChunk());
  EXPECT_EQ(decoder.BkgdColor(), MakeColour(8, 8, 8));
}

}  // namespace
}  // namespace zorv::png
