#include "png/png_writer.h"

#include <gtest/gtest.h>

#include <random>

#include "libpng_reference.h"
#include "platform/run_time_error.h"
#include "sample_data.h"

namespace zorv::png {
namespace {

enum class Content { Noise, Smooth };

struct Format {
  PngColourType type;
  std::uint8_t depth;
};

constexpr Format kFormats[] = {
    {PngColourType::Grey, 1},      {PngColourType::Grey, 2},      {PngColourType::Grey, 4},
    {PngColourType::Grey, 8},      {PngColourType::Grey, 16},     {PngColourType::Rgb, 8},
    {PngColourType::Rgb, 16},      {PngColourType::Palette, 1},   {PngColourType::Palette, 2},
    {PngColourType::Palette, 4},   {PngColourType::Palette, 8},   {PngColourType::GreyAlpha, 8},
    {PngColourType::GreyAlpha, 16}, {PngColourType::Rgba, 8},     {PngColourType::Rgba, 16},
};

struct Size {
  std::uint32_t width, height;
};

// 1×1 leaves six Adam7 passes empty, 13×7 and 37×29 cut passes short, 301×211 spans several deflate blocks.
constexpr Size kSizes[] = {{1, 1}, {13, 7}, {37, 29}, {301, 211}};

struct RoundTripCase {
  Format format;
  Size size;
  bool interlaced;
  Content content;
};

std::string CaseName(const RoundTripCase& c) {
  return "Type" + std::to_string(static_cast<int>(c.format.type)) + "Depth" + std::to_string(c.format.depth) + "_" +
         std::to_string(c.size.width) + "x" + std::to_string(c.size.height) + (c.interlaced ? "_Adam7" : "") +
         (c.content == Content::Noise ? "_Noise" : "_Smooth");
}

// Sample bytes: noise, or a gradient with a little noise, which gives every filter rows to win.
std::vector<std::uint8_t> MakeSamples(const RoundTripCase& c, std::size_t rowBytes, std::uint32_t seed) {
  if (c.content == Content::Noise) return testing::RandomBytes(rowBytes * c.size.height, seed);
  std::mt19937 generator(seed);
  std::vector<std::uint8_t> samples(rowBytes * c.size.height);
  for (std::size_t y = 0; y < c.size.height; ++y)
    for (std::size_t x = 0; x < rowBytes; ++x)
      samples[y * rowBytes + x] = static_cast<std::uint8_t>(x * (y % 5 + 1) + y * 3 + (generator() >> 30));
  return samples;
}

// The bits after the last sample of a row are no samples; readers give them back as zeros.
void ClearPaddingBits(PngImage& image, std::size_t rowBytes) {
  const std::size_t usedBits = (std::size_t{image.width} * image.bitDepth) % 8;
  if (image.bitDepth >= 8 || usedBits == 0) return;
  const auto mask = static_cast<std::uint8_t>(0xFF << (8 - usedBits));
  for (std::size_t y = 0; y < image.height; ++y) image.samples[y * rowBytes + rowBytes - 1] &= mask;
}

// The ancillary chunks each colour type can carry, with values that test their byte order.
void AddChunks(PngImage& image) {
  const std::size_t entries = std::size_t{1} << std::min<int>(image.bitDepth, 8);
  switch (image.colourType) {
    case PngColourType::Palette:
      image.palette = testing::RandomBytes(3 * entries, 11);
      image.transparency = std::vector<std::uint8_t>{0, 128, 255};
      image.transparency->resize(std::min<std::size_t>(entries, 3));
      image.background = std::vector<std::uint8_t>{static_cast<std::uint8_t>(entries - 1)};
      break;
    case PngColourType::Grey:
      image.transparency = std::vector<std::uint8_t>{0, static_cast<std::uint8_t>((1u << std::min<int>(image.bitDepth, 8)) - 1)};
      image.background = std::vector<std::uint8_t>{0, 1};
      break;
    case PngColourType::Rgb:
      image.transparency = std::vector<std::uint8_t>{0, 1, 0, 2, 0, 3};
      image.background = std::vector<std::uint8_t>{0, 200, 0, 100, 0, 50};
      image.palette = {255, 0, 0, 0, 255, 0};  // a suggested palette
      break;
    case PngColourType::GreyAlpha:
      image.background = std::vector<std::uint8_t>{0, 77};
      break;
    case PngColourType::Rgba:
      image.background = std::vector<std::uint8_t>{0, 2, 0, 4, 0, 6};
      break;
  }
  image.texts = {{"Title", "Ghost Knight", false},
                 {"Comment", std::string(500, 'x') + "\xe9t\xe9", true},
                 {"Software", "zorv", false}};
  image.modified = PngTime{2004, 5, 7, 14, 3, 9};
  image.gamma = 45455;
}

class PngRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(PngRoundTrip, LibpngReadsBackTheSamplesAndChunks) {
  const RoundTripCase& c = GetParam();
  PngImage image;
  image.width = c.size.width;
  image.height = c.size.height;
  image.colourType = c.format.type;
  image.bitDepth = c.format.depth;
  image.interlaced = c.interlaced;
  const std::size_t rowBytes = PngRowBytes(image.width, image.colourType, image.bitDepth);
  image.samples = MakeSamples(c, rowBytes, 99);
  ClearPaddingBits(image, rowBytes);
  AddChunks(image);

  const auto file = EncodePng(image);
  PngImage read;
  std::string error;
  ASSERT_TRUE(testing::ReadWithLibpng(file, read, error)) << error;
  EXPECT_EQ(read.width, image.width);
  EXPECT_EQ(read.height, image.height);
  EXPECT_EQ(read.colourType, image.colourType);
  EXPECT_EQ(read.bitDepth, image.bitDepth);
  EXPECT_EQ(read.interlaced, image.interlaced);
  EXPECT_TRUE(read.samples == image.samples);
  EXPECT_EQ(read.palette, image.palette);
  EXPECT_EQ(read.transparency, image.transparency);
  EXPECT_EQ(read.background, image.background);
  ASSERT_EQ(read.texts.size(), image.texts.size());
  for (std::size_t i = 0; i < image.texts.size(); ++i) {
    EXPECT_EQ(read.texts[i].keyword, image.texts[i].keyword);
    EXPECT_EQ(read.texts[i].text, image.texts[i].text);
    EXPECT_EQ(read.texts[i].compressed, image.texts[i].compressed);
  }
  ASSERT_TRUE(read.modified.has_value());
  EXPECT_EQ(read.modified->year, 2004);
  EXPECT_EQ(read.modified->second, 9);
  EXPECT_EQ(read.gamma, image.gamma);
}

std::vector<RoundTripCase> RoundTripCases() {
  std::vector<RoundTripCase> cases;
  for (const Format& format : kFormats)
    for (const Size& size : kSizes)
      for (bool interlaced : {false, true})
        for (Content content : {Content::Noise, Content::Smooth})
          cases.push_back({format, size, interlaced, content});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(AllFormats, PngRoundTrip, ::testing::ValuesIn(RoundTripCases()),
                         [](const auto& info) { return CaseName(info.param); });

TEST(PngWriter, WritesOnlyTheChunksAskedFor) {
  PngImage image;
  image.width = 2;
  image.height = 2;
  image.colourType = PngColourType::Grey;
  image.samples = {1, 2, 3, 4};
  const auto file = EncodePng(image);
  PngImage read;
  std::string error;
  ASSERT_TRUE(testing::ReadWithLibpng(file, read, error)) << error;
  EXPECT_FALSE(read.transparency.has_value());
  EXPECT_FALSE(read.background.has_value());
  EXPECT_FALSE(read.modified.has_value());
  EXPECT_FALSE(read.gamma.has_value());
  EXPECT_TRUE(read.texts.empty());
  // Signature, IHDR (25 bytes) first, IEND (12 bytes) last.
  EXPECT_EQ(std::string(file.begin() + 12, file.begin() + 16), "IHDR");
  EXPECT_EQ(std::string(file.end() - 8, file.end() - 4), "IEND");
}

struct InvalidCase {
  const char* name;
  void (*spoil)(PngImage&);
};

PngImage ValidPaletteImage() {
  PngImage image;
  image.width = 3;
  image.height = 2;
  image.colourType = PngColourType::Palette;
  image.bitDepth = 2;
  image.samples = {0x1B, 0x2C};
  image.palette = {0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 255, 0};
  return image;
}

class PngWriterRefuses : public ::testing::TestWithParam<InvalidCase> {};

TEST_P(PngWriterRefuses, WithError5) {
  PngImage image = ValidPaletteImage();
  ASSERT_NO_THROW(EncodePng(image));
  GetParam().spoil(image);
  try {
    EncodePng(image);
    ADD_FAILURE() << "accepted";
  } catch (const RunTimeError& e) {
    EXPECT_EQ(e.Number(), 5);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Images, PngWriterRefuses,
    ::testing::Values(
        InvalidCase{"SamplesShort", [](PngImage& i) { i.samples.pop_back(); }},
        InvalidCase{"SamplesLong", [](PngImage& i) { i.samples.push_back(0); }},
        InvalidCase{"ZeroWidth", [](PngImage& i) { i.width = 0; }},
        InvalidCase{"WidthAbove2To31", [](PngImage& i) { i.width = 0x80000000u; }},
        InvalidCase{"Palette16Bit", [](PngImage& i) { i.bitDepth = 16; }},
        InvalidCase{"Rgb4Bit", [](PngImage& i) { i.colourType = PngColourType::Rgb; i.bitDepth = 4; }},
        InvalidCase{"Depth3", [](PngImage& i) { i.bitDepth = 3; }},
        InvalidCase{"NoPalette", [](PngImage& i) { i.palette.clear(); }},
        InvalidCase{"MoreEntriesThanTheDepthReaches", [](PngImage& i) { i.palette.resize(15); }},
        InvalidCase{"PaletteNotInTriples", [](PngImage& i) { i.palette.pop_back(); }},
        InvalidCase{"PaletteOnGrey",
                    [](PngImage& i) { i.colourType = PngColourType::Grey; }},
        InvalidCase{"MoreAlphasThanEntries", [](PngImage& i) { i.transparency = std::vector<std::uint8_t>(5, 0); }},
        InvalidCase{"TransparencyWithAlphaChannel",
                    [](PngImage& i) {
                      i.colourType = PngColourType::Rgba;
                      i.bitDepth = 8;
                      i.palette.clear();
                      i.samples.assign(24, 0);
                      i.transparency = std::vector<std::uint8_t>(6, 0);
                    }},
        InvalidCase{"BackgroundIndexOutsidePalette", [](PngImage& i) { i.background = std::vector<std::uint8_t>{4}; }},
        InvalidCase{"GreyBackgroundOfOneByte",
                    [](PngImage& i) {
                      i.colourType = PngColourType::Grey;
                      i.palette.clear();
                      i.background = std::vector<std::uint8_t>{4};
                    }},
        InvalidCase{"EmptyKeyword", [](PngImage& i) { i.texts.push_back({"", "text", false}); }},
        InvalidCase{"KeywordOf80", [](PngImage& i) { i.texts.push_back({std::string(80, 'k'), "text", false}); }},
        InvalidCase{"KeywordLeadingSpace", [](PngImage& i) { i.texts.push_back({" Title", "text", false}); }},
        InvalidCase{"TextWithNul", [](PngImage& i) { i.texts.push_back({"Title", std::string("a\0b", 3), true}); }},
        InvalidCase{"Month13", [](PngImage& i) { i.modified = PngTime{2000, 13, 1, 0, 0, 0}; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EncodeRgbPng, TakesRrggbbPixels) {
  const std::vector<std::uint32_t> pixels = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00123456, 0x00FFFFFF, 0};
  const auto file = EncodeRgbPng(3, 2, pixels);
  PngImage read;
  std::string error;
  ASSERT_TRUE(testing::ReadWithLibpng(file, read, error)) << error;
  EXPECT_EQ(read.colourType, PngColourType::Rgb);
  EXPECT_EQ(read.samples, (std::vector<std::uint8_t>{255, 0, 0, 0, 255, 0, 0, 0, 255, 0x12, 0x34, 0x56, 255, 255,
                                                     255, 0, 0, 0}));
}

TEST(EncodeRgbPng, TakesPaddedBgrRowsInEitherOrder) {
  // Two rows of two pixels, each row padded to 8 bytes.
  const std::vector<std::uint8_t> rows = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  PngImage read;
  std::string error;
  ASSERT_TRUE(testing::ReadWithLibpng(EncodeRgbPng(2, 2, rows, 8), read, error)) << error;
  EXPECT_EQ(read.samples, (std::vector<std::uint8_t>{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));
  ASSERT_TRUE(testing::ReadWithLibpng(EncodeRgbPng(2, 2, rows, 8, true), read, error)) << error;
  EXPECT_EQ(read.samples, (std::vector<std::uint8_t>{9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4}));
}

TEST(EncodeRgbPng, RefusesTooFewPixels) {
  EXPECT_THROW(EncodeRgbPng(3, 2, std::vector<std::uint32_t>(5, 0)), RunTimeError);
  EXPECT_THROW(EncodeRgbPng(2, 2, std::vector<std::uint8_t>(13, 0), 8), RunTimeError);
  EXPECT_THROW(EncodeRgbPng(2, 2, std::vector<std::uint8_t>(16, 0), 5), RunTimeError);
}

}  // namespace
}  // namespace zorv::png
