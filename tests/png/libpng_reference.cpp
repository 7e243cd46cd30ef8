#include "libpng_reference.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

namespace zorv::png::testing {
namespace {

std::uint8_t Blend(unsigned colour, unsigned background, unsigned alpha) {
  return static_cast<std::uint8_t>((colour * alpha + (255 - alpha) * background + 255) >> 8);
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

void IgnoreWarning(png_structp, png_const_charp) {}

// Decodes to 8-bit RGBA rows; false when libpng fails.
bool ReadRgba(std::FILE* file, std::uint32_t& width, std::uint32_t& height, std::vector<std::uint8_t>& rgba) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, IgnoreWarning);
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
  png_init_io(png, file);
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  width = png_get_image_width(png, info);
  height = png_get_image_height(png, info);
  rgba.assign(static_cast<std::size_t>(width) * height * 4, 0);
  rows.resize(height);
  for (std::uint32_t y = 0; y < height; ++y) rows[y] = rgba.data() + static_cast<std::size_t>(y) * width * 4;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

std::optional<Image> LibpngPicture(const std::string& path, Colour background) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> rgba;
  if (!ReadRgba(file.get(), width, height, rgba)) return std::nullopt;
  Image picture(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    const std::uint8_t* p = &rgba[4 * i];
    picture.pixels[i] = PackRgb(Blend(p[0], RedOf(background), p[3]), Blend(p[1], GreenOf(background), p[3]),
                                Blend(p[2], BlueOf(background), p[3]));
  }
  return picture;
}

}  // namespace zorv::png::testing
