#include "large_images.h"

#include <png.h>

#include <cstdio>
#include <stdexcept>

#include "support/generated_pictures.h"

namespace zorv::bench {
namespace {

// A palette picture takes each pixel's first sample as its index into a ramp.
void WritePng(const std::string& path, const Picture& picture, int colourType, bool interlaced) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) throw std::runtime_error("libpng failed on " + path);
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height), 8,
               colourType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette(256);
  for (int i = 0; i < 256; ++i) {
    palette[i] = {static_cast<png_byte>(i), static_cast<png_byte>(i * i / 255), static_cast<png_byte>(255 - i)};
  }
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette.data(), 256);
  png_write_info(png, info);
  const int channels = colourType == PNG_COLOR_TYPE_PALETTE ? 1 : picture.bytesPerPixel;
  std::vector<std::uint8_t> samples(static_cast<std::size_t>(picture.width) * picture.height * channels);
  for (std::size_t i = 0; i * channels < samples.size(); ++i) {
    for (int c = 0; c < channels; ++c) samples[i * channels + c] = picture.pixels[i * picture.bytesPerPixel + c];
  }
  std::vector<png_bytep> rows(static_cast<std::size_t>(picture.height));
  for (int y = 0; y < picture.height; ++y) rows[y] = samples.data() + static_cast<std::size_t>(y) * picture.width * channels;
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

}  // namespace

std::vector<LargeImage> WriteLargeImages(const std::filesystem::path& folder) {
  const Picture rgb = Fractal(1920, 1080, 3);
  const Picture rgba = Fractal(1920, 1080, 4);
  const Picture game = ScaleUp(GameScreen(480, 270), 4);
  // Snapshots of older games keep the machine's own resolution.
  const Picture native = GameScreen(320, 240);
  struct Kind {
    const char* name;
    const Picture& picture;
    int colourType;
    bool interlaced;
  };
  const Kind kinds[] = {{"fractal-rgb-1920x1080", rgb, PNG_COLOR_TYPE_RGB, false},
                        {"fractal-rgba-1920x1080", rgba, PNG_COLOR_TYPE_RGBA, false},
                        {"fractal-palette-1920x1080", rgb, PNG_COLOR_TYPE_PALETTE, false},
                        {"fractal-rgb-interlaced-1920x1080", rgb, PNG_COLOR_TYPE_RGB, true},
                        {"game-screen-x4-1920x1080", game, PNG_COLOR_TYPE_RGB, false},
                        {"game-screen-320x240", native, PNG_COLOR_TYPE_RGB, false},
                        {"game-screen-palette-320x240", native, PNG_COLOR_TYPE_PALETTE, false}};
  std::vector<LargeImage> images;
  for (const Kind& kind : kinds) {
    const std::string path = (folder / (std::string(kind.name) + ".png")).string();
    WritePng(path, kind.picture, kind.colourType, kind.interlaced);
    images.push_back({kind.name, path});
  }
  for (const char* photo : {"kodim02", "kodim23"}) {
    images.push_back({std::string(photo) + "-768x512", std::string(ZORV_TEST_DATA_DIR "/png-extra/valid/") + photo + ".png"});
  }
  return images;
}

}  // namespace zorv::bench
