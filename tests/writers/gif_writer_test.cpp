#include "gif_writer.h"

#include <gtest/gtest.h>

#include "platform/run_time_error.h"
#include "sample_data.h"
#include "stb_image_reference.h"

namespace zorv::pictures {
namespace {

struct GifCase {
  const char* name;
  std::uint16_t width, height;
  std::size_t entries;
  bool transparent;
  bool noise;  // noise fills the LZW table and forces clear codes
};

IndexedImage MakeImage(const GifCase& c) {
  IndexedImage image;
  image.width = c.width;
  image.height = c.height;
  image.palette = testing::RandomBytes(3 * c.entries, 5);
  const auto noise = testing::RandomBytes(std::size_t{c.width} * c.height, 6);
  image.indices.resize(noise.size());
  for (std::size_t i = 0; i < noise.size(); ++i) {
    const std::size_t x = i % c.width, y = i / c.width;
    image.indices[i] = static_cast<std::uint8_t>((c.noise ? noise[i] : (x / 7 + y / 5)) % c.entries);
  }
  if (c.transparent) image.transparentIndex = static_cast<std::uint8_t>(c.entries - 1);
  return image;
}

class GifRoundTrip : public ::testing::TestWithParam<GifCase> {};

TEST_P(GifRoundTrip, StbImageDecodesThePaletteColours) {
  const IndexedImage image = MakeImage(GetParam());
  const auto decoded = testing::DecodeWithStbImage(EncodeGif(image));
  ASSERT_TRUE(decoded.has_value());
  ASSERT_EQ(decoded->width, image.width);
  ASSERT_EQ(decoded->height, image.height);
  std::size_t mismatches = 0;
  for (std::size_t i = 0; i < image.indices.size(); ++i) {
    const std::size_t entry = image.indices[i];
    const bool clear = image.transparentIndex == entry;
    const std::uint8_t* rgba = decoded->rgba.data() + 4 * i;
    if (rgba[3] != (clear ? 0 : 255)) ++mismatches;
    else if (!clear && (rgba[0] != image.palette[3 * entry] || rgba[1] != image.palette[3 * entry + 1] ||
                        rgba[2] != image.palette[3 * entry + 2]))
      ++mismatches;
  }
  EXPECT_EQ(mismatches, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Images, GifRoundTrip,
    ::testing::Values(GifCase{"OnePixelOneColour", 1, 1, 1, false, false},
                      GifCase{"TwoColours", 17, 9, 2, false, true},
                      GifCase{"FourColoursTransparent", 40, 30, 4, true, false},
                      GifCase{"FiveColoursPadTheTableToEight", 33, 21, 5, false, true},
                      GifCase{"NoiseFillsTheTable", 320, 200, 256, false, true},
                      GifCase{"PatternWithTransparency", 300, 220, 200, true, false},
                      GifCase{"SixteenColourNoise", 257, 129, 16, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GifWriter, RefusesIndicesBeyondThePaletteAndWrongCounts) {
  IndexedImage image = MakeImage({"", 4, 4, 3, false, false});
  image.indices[5] = 3;
  EXPECT_THROW(EncodeGif(image), RunTimeError);
  image = MakeImage({"", 4, 4, 3, false, false});
  image.indices.pop_back();
  EXPECT_THROW(EncodeGif(image), RunTimeError);
  image = MakeImage({"", 4, 4, 3, false, false});
  image.transparentIndex = 3;
  EXPECT_THROW(EncodeGif(image), RunTimeError);
}

}  // namespace
}  // namespace zorv::pictures
