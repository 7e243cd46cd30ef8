#include "stb_image_reference.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_GIF
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace zorv::testing {

std::optional<DecodedRgba> DecodeWithStbImage(std::span<const std::uint8_t> file) {
  DecodedRgba decoded;
  int channels = 0;
  stbi_uc* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &decoded.width,
                                          &decoded.height, &channels, 4);
  if (pixels == nullptr) return std::nullopt;
  decoded.rgba.assign(pixels, pixels + std::size_t{4} * decoded.width * decoded.height);
  stbi_image_free(pixels);
  return decoded;
}

}  // namespace zorv::testing
