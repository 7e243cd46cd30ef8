#include "large_images.h"

#include <png.h>

#include <cstdio>
#include <random>
#include <stdexcept>

namespace zorv::bench {
namespace {

// A picture like a game screen shot: smooth shading, hard-edged shapes and a
// little noise, so that every filter type has work.
std::uint8_t Sample(std::uint32_t x, std::uint32_t y, int channel, std::mt19937& random) {
  const bool inShape = ((x / 64) + (y / 48)) % 3 == 0;
  const std::uint32_t shade = (x * (channel + 1) + y * (3 - channel)) / 8;
  return static_cast<std::uint8_t>((inShape ? 255 - shade : shade) + random() % 6);
}

void WritePng(const std::string& path, std::uint32_t width, std::uint32_t height, int colourType, bool interlaced) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) throw std::runtime_error("libpng failed on " + path);
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, colourType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette(256);
  if (colourType == PNG_COLOR_TYPE_PALETTE) {
    for (int i = 0; i < 256; ++i) {
      palette[i] = {static_cast<png_byte>(i), static_cast<png_byte>(255 - i), static_cast<png_byte>(i * 7)};
    }
    png_set_PLTE(png, info, palette.data(), 256);
  }
  png_write_info(png, info);
  const int channels = colourType == PNG_COLOR_TYPE_RGB ? 3 : colourType == PNG_COLOR_TYPE_RGBA ? 4 : 1;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * channels);
  std::mt19937 random(11);
  for (std::uint32_t y = 0; y < height; ++y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      for (int c = 0; c < channels; ++c) {
        pixels[(static_cast<std::size_t>(y) * width + x) * channels + c] =
            c == 3 ? static_cast<std::uint8_t>(((x / 32) % 2) ? 255 : (x + y) % 256) : Sample(x, y, c, random);
      }
    }
  }
  std::vector<png_bytep> rows(height);
  for (std::uint32_t y = 0; y < height; ++y) rows[y] = pixels.data() + static_cast<std::size_t>(y) * width * channels;
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

}  // namespace

std::vector<LargeImage> WriteLargeImages(const std::filesystem::path& folder) {
  struct Kind {
    const char* name;
    std::uint32_t width, height;
    int colourType;
  };
  const Kind kinds[] = {{"rgb-1920x1080", 1920, 1080, PNG_COLOR_TYPE_RGB},
                        {"rgba-1920x1080", 1920, 1080, PNG_COLOR_TYPE_RGBA},
                        {"palette-4000x3000", 4000, 3000, PNG_COLOR_TYPE_PALETTE}};
  std::vector<LargeImage> images;
  for (const Kind& kind : kinds) {
    for (const bool interlaced : {false, true}) {
      const std::string name = std::string(kind.name) + (interlaced ? "-interlaced" : "");
      const std::string path = (folder / (name + ".png")).string();
      WritePng(path, kind.width, kind.height, kind.colourType, interlaced);
      images.push_back({name, path});
    }
  }
  return images;
}

}  // namespace zorv::bench
