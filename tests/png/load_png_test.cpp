// Reading files chunk by chunk: the error numbers, the kept fields and the
// state rules across calls.
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

class SilentMessages final : public MessageBox {
 public:
  void Show(std::string_view) override {}
};

// A 2 x 1 grey image, ready for its IEND.
PngBuilder GreyImage() {
  PngBuilder png;
  png.Chunk("IHDR", Ihdr(2, 1, 8, 0)).Image({0, 10, 20});
  return png;
}

class LoadPngTest : public ::testing::Test {
 protected:
  // Opens the bytes as a file; the failure number when it leaves OpenPNG.
  int Open(const std::string& bytes) {
    const auto path = folder.Write("image.png", bytes).string();
    try {
      EXPECT_EQ(decoder.OpenPNG(path), 0);
    } catch (const RunTimeError& failure) {
      return failure.Number();
    }
    return 0;
  }

  zorv::testing::TempFolder folder;
  ScreenMetrics screen;
  bitmap::CBitmap bitmaps{screen};
  SilentMessages messages;
  LoadPNG decoder{bitmaps, messages};
  PictureBox box{screen};
};

TEST_F(LoadPngTest, AFreshObjectReadsEmpty) {
  EXPECT_EQ(decoder.Width(), 0);
  EXPECT_EQ(decoder.Height(), 0);
  EXPECT_EQ(decoder.Bitdepht(), 0);
  EXPECT_EQ(decoder.ColorType(), 0);
  EXPECT_EQ(decoder.Compression(), 0);
  EXPECT_EQ(decoder.Filter(), 0);
  EXPECT_EQ(decoder.Interlacing(), 0);
  EXPECT_EQ(decoder.ErrorNumber(), 0);
  EXPECT_FALSE(decoder.HaveAlpha());
  EXPECT_FALSE(decoder.HaveTransparence());
  EXPECT_FALSE(decoder.HasBKGDChunk());
  EXPECT_EQ(decoder.BkgdColor(), 0);
  EXPECT_EQ(decoder.Text(), "");
  EXPECT_EQ(decoder.zText(), "");
  EXPECT_EQ(decoder.ModiTime(), "");
  EXPECT_EQ(decoder.gama(), 0.0);
}

TEST_F(LoadPngTest, ErrorNumbersOfBrokenFiles) {
  const std::string good = GreyImage().End().Str();
  std::string badSignature = good;
  badSignature[3] = 'g';
  // IEND's CRC cut to one byte is still enough; cut to none it is not.
  const std::string crcCut = good.substr(0, good.size() - 3);
  const std::string noCrc = good.substr(0, good.size() - 4);
  std::string idatCut = GreyImage().Str();
  idatCut.resize(idatCut.size() - 8);
  std::string negativeLength = GreyImage().Str();
  negativeLength += std::string("\x80\0\0\0IEND\0\0\0\0", 12);
  struct Case {
    const char* name;
    std::string file;
    int errorNumber;
  };
  const std::vector<Case> cases = {
      {"good", good, 0},
      {"a changed signature byte", badSignature, 1},
      {"empty", "", 1},
      {"signature only", good.substr(0, 8), 3},
      {"cut inside the image data", idatCut, 3},
      {"no IEND", GreyImage().Str(), 3},
      {"IEND's CRC cut to one byte", crcCut, 0},
      {"no CRC after IEND", noCrc, 3},
      {"a length of 2^31", negativeLength, 3},
      {"no image data", PngBuilder().Chunk("IHDR", Ihdr(2, 1, 8, 0)).End().Str(), 4},
      {"an empty IDAT only", PngBuilder().Chunk("IHDR", Ihdr(2, 1, 8, 0)).Chunk("IDAT", {}).End().Str(), 4},
  };
  for (const Case& c : cases) {
    SilentMessages silent;
    LoadPNG fresh(bitmaps, silent);
    const auto path = folder.Write("case.png", c.file).string();
    fresh.PicBox(&box);
    fresh.OpenPNG(path);
    EXPECT_EQ(fresh.ErrorNumber(), c.errorNumber) << c.name;
  }
}

TEST_F(LoadPngTest, AMissingFileIsNotAPngFileAFolderOrBadPathIsAFailure) {
  decoder.OpenPNG((folder.Path() / "none.png").string());
  EXPECT_EQ(decoder.ErrorNumber(), 1);
  for (const auto& path : {folder.Path(), folder.Path() / "no folder" / "image.png"}) {
    try {
      decoder.OpenPNG(path.string());
      ADD_FAILURE() << path;
    } catch (const RunTimeError& failure) {
      EXPECT_EQ(failure.Number(), 75) << path;
    }
  }
}

TEST_F(LoadPngTest, ErrorNumberIsNeverCleared) {
  decoder.PicBox(&box);
  EXPECT_EQ(Open("not a png file"), 0);
  EXPECT_EQ(Open(GreyImage().End().Str()), 0);
  EXPECT_EQ(decoder.ErrorNumber(), 1);
  EXPECT_EQ(box.Picture().width, 2);  // the second file was drawn all the same
}

TEST_F(LoadPngTest, ImageDataOfSeveralChunksIsJoined) {
  const Bytes stream = testing::StoredZlib({0, 10, 20, 0, 30, 40});
  PngBuilder png;
  png.Chunk("IHDR", Ihdr(2, 2, 8, 0));
  png.Chunk("IDAT", Bytes(stream.begin(), stream.begin() + 3)).Chunk("IDAT", {}).Chunk("tEXt", {'a', 0, 'b'});
  png.Chunk("IDAT", Bytes(stream.begin() + 3, stream.end())).End();
  decoder.PicBox(&box);
  EXPECT_EQ(Open(png.Str()), 0);
  EXPECT_EQ(box.Picture().pixels, (std::vector<std::uint32_t>{0x0A0A0A, 0x141414, 0x1E1E1E, 0x282828}));
}

TEST_F(LoadPngTest, UnknownChunksAreSkippedWhateverTheirCase) {
  PngBuilder png;
  png.Chunk("IHDR", Ihdr(2, 1, 8, 0)).Chunk("ABCD", {1, 2, 3}).Chunk("abcd", {}).Chunk("iHDR", Ihdr(9, 9, 16, 6));
  png.Chunk("tExt", {'x', 0, 'y'}).Image({0, 10, 20}).Chunk("idat", {1, 2, 3}).End();
  decoder.PicBox(&box);
  EXPECT_EQ(Open(png.Str()), 0);
  EXPECT_EQ(decoder.Width(), 2);
  EXPECT_EQ(decoder.Text(), "");
  EXPECT_EQ(box.Picture().width, 2);
}

TEST_F(LoadPngTest, TextsGrowAcrossFiles) {
  const std::string first = GreyImage().Text("tEXt", std::string("Title\0One", 9)).Text("tEXt", std::string("A\0B", 3)).End().Str();
  const std::string second = GreyImage().Text("tEXt", std::string("Title\0Two", 9)).End().Str();
  decoder.PicBox(&box);
  Open(first);
  Open(second);
  EXPECT_EQ(decoder.Text(), std::string("Title\0One\0A\0B\0Title\0Two\0", 24));
}

TEST_F(LoadPngTest, CompressedTextIsInflated) {
  Bytes ztxt = {'K', 'e', 'y', 0, 0};
  const Bytes stream = testing::StoredZlib({'h', 'i', 0xE9});
  ztxt.insert(ztxt.end(), stream.begin(), stream.end());
  decoder.PicBox(&box);
  Open(GreyImage().Chunk("zTXt", ztxt).End().Str());
  EXPECT_EQ(decoder.zText(), std::string("Key\0hi\xE9\0", 8));
  EXPECT_EQ(Open(GreyImage().Chunk("zTXt", {0, 0, 0x78, 1, 1, 0, 0, 0xFF, 0xFF}).End().Str()), 9);  // no keyword
}

TEST_F(LoadPngTest, TimeStampAndGamma) {
  decoder.PicBox(&box);
  Open(GreyImage().Chunk("tIME", {0x07, 0xD4, 5, 7, 14, 3, 9}).Chunk("gAMA", {0, 0, 0xAF, 0xC8}).End().Str());
  EXPECT_EQ(decoder.ModiTime(), "07.05.2004 14:03:09");
  EXPECT_DOUBLE_EQ(decoder.gama(), 0.45);
  // A short gAMA chunk reads its missing bytes as zero.
  Open(GreyImage().Chunk("gAMA", {0, 1}).End().Str());
  EXPECT_DOUBLE_EQ(decoder.gama(), 0.65536);
  EXPECT_EQ(decoder.ModiTime(), "07.05.2004 14:03:09");  // kept without a tIME chunk
  EXPECT_EQ(Open(GreyImage().Chunk("tIME", {0x07, 0xD4, 5, 7, 14, 3}).End().Str()), 9);
}

TEST_F(LoadPngTest, BackgroundColourFollowsTheStateWhenTheChunkIsRead) {
  decoder.PicBox(&box);
  // Before IHDR the header is that of the earlier file: on a fresh object a
  // grey depth of 0 has no level 200; after a grey 8-bit file it has.
  PngBuilder early;
  early.Chunk("bKGD", {0, 200}).Chunk("IHDR", Ihdr(2, 1, 8, 0)).Image({0, 10, 20}).End();
  Open(early.Str());
  EXPECT_EQ(decoder.BkgdColor(), 0);
  Open(early.Str());
  EXPECT_TRUE(decoder.HasBKGDChunk());
  EXPECT_EQ(decoder.BkgdColor(), MakeColour(200, 200, 200));

  // A palette image's bKGD read before its PLTE looks into the old palette (none): 0.
  PngBuilder beforePalette;
  beforePalette.Chunk("IHDR", Ihdr(1, 1, 8, 3)).Chunk("bKGD", {1}).Chunk("PLTE", {1, 2, 3, 4, 5, 6});
  beforePalette.Image({0, 1}).End();
  Open(beforePalette.Str());
  EXPECT_EQ(decoder.BkgdColor(), 0);

  PngBuilder afterPalette;
  afterPalette.Chunk("IHDR", Ihdr(1, 1, 8, 3)).Chunk("PLTE", {1, 2, 3, 4, 5, 6}).Chunk("bKGD", {1});
  afterPalette.Image({0, 1}).End();
  Open(afterPalette.Str());
  EXPECT_EQ(decoder.BkgdColor(), MakeColour(4, 5, 6));

  Open(GreyImage().End().Str());
  EXPECT_FALSE(decoder.HasBKGDChunk());
  EXPECT_EQ(decoder.BkgdColor(), MakeColour(4, 5, 6));
}

TEST_F(LoadPngTest, ShortHeaderReadsMissingBytesAsZero) {
  decoder.PicBox(&box);
  Open(PngBuilder().Chunk("IHDR", {0, 0, 0, 2, 0, 0, 0, 1, 8}).Image({0, 10, 20}).End().Str());
  EXPECT_EQ(decoder.Width(), 2);
  EXPECT_EQ(decoder.Bitdepht(), 8);
  EXPECT_EQ(decoder.ColorType(), 0);
  EXPECT_EQ(box.Picture().width, 2);
}

}  // namespace
}  // namespace zorv::png
