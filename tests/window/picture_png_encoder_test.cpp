// The picture groups' PNG files read back by libpng: palette and RGB pictures
// whose rows end at every count of bytes past a step of the Up filter's eight.
#include "window/picture_png_encoder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <vector>

namespace zorv {
namespace {

Image ReadBack(const std::vector<std::uint8_t>& file) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return {};
  Image picture(static_cast<std::int32_t>(image.width), static_cast<std::int32_t>(image.height));
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    picture.pixels[i] = PackRgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
  }
  return picture;
}

TEST(PicturePngEncoder, EveryRowLengthReadsBackAsTheSamePixels) {
  for (const std::uint32_t colours : {5U, 1U << 24}) {  // a palette image, an RGB image
    for (std::int32_t width = 1; width <= 17; ++width) {
      Image picture(width, 3);
      for (std::uint32_t i = 0; i < picture.pixels.size(); ++i) {
        picture.pixels[i] = (i * 0x9E3779u) % colours * 0x10101u & 0xFFFFFFu;
      }
      EXPECT_EQ(ReadBack(EncodePicturePng(picture)), picture) << width << " wide, " << colours << " colours";
    }
  }
}

}  // namespace
}  // namespace zorv
