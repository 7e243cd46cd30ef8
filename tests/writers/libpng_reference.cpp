#include "libpng_reference.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace zorv::testing {
namespace {

struct Reading {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
  char message[256];
};

void ReadBytes(png_structp png, png_bytep out, png_size_t count) {
  auto* reading = static_cast<Reading*>(png_get_io_ptr(png));
  if (count > reading->size - reading->position) png_error(png, "read past the end of the file");
  std::memcpy(out, reading->data + reading->position, count);
  reading->position += count;
}

void OnError(png_structp png, png_const_charp message) {
  auto* reading = static_cast<Reading*>(png_get_error_ptr(png));
  std::snprintf(reading->message, sizeof reading->message, "%s", message);
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void TakeChunks(png_structp png, png_infop info, png::PngImage& image) {
  png_colorp palette = nullptr;
  int paletteSize = 0;
  if (png_get_PLTE(png, info, &palette, &paletteSize) != 0)
    for (int i = 0; i < paletteSize; ++i) image.palette.insert(image.palette.end(), {palette[i].red, palette[i].green, palette[i].blue});

  png_bytep alphas = nullptr;
  int alphaCount = 0;
  png_color_16p key = nullptr;
  if (png_get_tRNS(png, info, &alphas, &alphaCount, &key) != 0) {
    std::vector<std::uint8_t> stored;
    auto push16 = [&](png_uint_16 v) { stored.insert(stored.end(), {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)}); };
    if (image.colourType == png::PngColourType::Palette) stored.assign(alphas, alphas + alphaCount);
    else if (image.colourType == png::PngColourType::Grey) push16(key->gray);
    else {
      push16(key->red);
      push16(key->green);
      push16(key->blue);
    }
    image.transparency = stored;
  }

  png_color_16p background = nullptr;
  if (png_get_bKGD(png, info, &background) != 0) {
    std::vector<std::uint8_t> stored;
    auto push16 = [&](png_uint_16 v) { stored.insert(stored.end(), {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)}); };
    if (image.colourType == png::PngColourType::Palette) stored.push_back(background->index);
    else if (image.colourType == png::PngColourType::Grey || image.colourType == png::PngColourType::GreyAlpha) push16(background->gray);
    else {
      push16(background->red);
      push16(background->green);
      push16(background->blue);
    }
    image.background = stored;
  }

  png_textp texts = nullptr;
  int textCount = 0;
  png_get_text(png, info, &texts, &textCount);
  for (int i = 0; i < textCount; ++i)
    image.texts.push_back({texts[i].key, std::string(texts[i].text, texts[i].text_length),
                           texts[i].compression == PNG_TEXT_COMPRESSION_zTXt});

  png_timep time = nullptr;
  if (png_get_tIME(png, info, &time) != 0)
    image.modified = png::PngTime{time->year, time->month, time->day, time->hour, time->minute, time->second};

  png_fixed_point gamma = 0;
  if (png_get_gAMA_fixed(png, info, &gamma) != 0) image.gamma = static_cast<std::uint32_t>(gamma);
}

// Only plain values live in this frame, so the jump back from OnError skips no destructor.
bool ReadInto(Reading& reading, png::PngImage& image, std::vector<png_bytep>& rowPointers) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reading, OnError, OnWarning);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &reading, ReadBytes);
  png_read_info(png, info);
  image.width = png_get_image_width(png, info);
  image.height = png_get_image_height(png, info);
  image.bitDepth = png_get_bit_depth(png, info);
  image.colourType = static_cast<png::PngColourType>(png_get_color_type(png, info));
  image.interlaced = png_get_interlace_type(png, info) == PNG_INTERLACE_ADAM7;
  if (image.interlaced) png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const png_size_t rowBytes = png_get_rowbytes(png, info);
  image.samples.assign(rowBytes * image.height, 0);
  rowPointers.resize(image.height);
  for (std::size_t y = 0; y < image.height; ++y) rowPointers[y] = image.samples.data() + y * rowBytes;
  png_read_image(png, rowPointers.data());
  png_read_end(png, info);
  TakeChunks(png, info, image);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

bool ReadWithLibpng(std::span<const std::uint8_t> file, png::PngImage& image, std::string& error) {
  Reading reading{file.data(), file.size(), 0, {}};
  std::vector<png_bytep> rowPointers;
  image = png::PngImage{};
  const bool read = ReadInto(reading, image, rowPointers);
  error = reading.message;
  return read;
}

}  // namespace zorv::testing
