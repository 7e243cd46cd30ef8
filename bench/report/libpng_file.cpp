#include "libpng_file.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace zorv::bench {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// libpng reports failures by longjmp: nothing with a destructor may live in this frame.
bool WriteRows(std::FILE* file, const PngFileImage& image, png_bytepp rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colourType,
               image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_interlace_handling(png);  // libpng picks the passes out of the full rows
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

void WritePngFile(const std::filesystem::path& file, const PngFileImage& image) {
  const std::size_t channels = image.colourType == PNG_COLOR_TYPE_RGBA ? 4 : 3;
  const std::size_t rowBytes = image.width * channels * static_cast<std::size_t>(image.bitDepth / 8);
  if (image.samples.size() != rowBytes * image.height) throw std::runtime_error("samples of the wrong size");
  std::vector<png_bytep> rows(image.height);
  for (std::size_t y = 0; y < rows.size(); ++y)
    rows[y] = const_cast<png_bytep>(image.samples.data() + y * rowBytes);
  std::filesystem::create_directories(file.parent_path());
  const std::unique_ptr<std::FILE, FileCloser> out(std::fopen(file.c_str(), "wb"));
  if (!out || !WriteRows(out.get(), image, rows.data())) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace zorv::bench
