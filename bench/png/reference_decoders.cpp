#include "reference_decoders.h"

#include <png.h>
#include <spng.h>

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include "stb_image.h"

#if defined(ZORV_BENCH_WUFFS)
#include "support/wuffs_reference.h"
#endif

namespace zorv::bench {

std::size_t DecodeWithLibpng(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return 0;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<std::uint8_t> pixels;
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return 0;
  }
  png_init_io(png, file);
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const std::size_t width = png_get_image_width(png, info);
  const std::size_t height = png_get_image_height(png, info);
  pixels.resize(width * height * 4);
  rows.resize(height);
  for (std::size_t y = 0; y < height; ++y) rows[y] = pixels.data() + y * width * 4;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return pixels.size();
}

namespace {

std::vector<char> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

std::size_t DecodeWithSpng(const std::string& path) {
  const std::vector<char> file = ReadWholeFile(path);
  spng_ctx* context = spng_ctx_new(0);
  std::size_t size = 0;
  std::vector<std::uint8_t> pixels;
  if (spng_set_png_buffer(context, file.data(), file.size()) == 0 &&
      spng_decoded_image_size(context, SPNG_FMT_RGBA8, &size) == 0) {
    pixels.resize(size);
    if (spng_decode_image(context, pixels.data(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS) != 0) size = 0;
  }
  spng_ctx_free(context);
  return size;
}

std::size_t DecodeWithStb(const std::string& path) {
  int width = 0;
  int height = 0;
  int channels = 0;
  stbi_uc* pixels = stbi_load(path.c_str(), &width, &height, &channels, 4);
  if (pixels == nullptr) return 0;
  stbi_image_free(pixels);
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
}

#if defined(ZORV_BENCH_WUFFS)
std::size_t DecodeWithWuffs(const std::string& path) {
  const std::vector<char> file = ReadWholeFile(path);
  return zorv_bench_wuffs_decode_png(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
}
#endif

}  // namespace zorv::bench
