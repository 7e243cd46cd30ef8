#pragma once
// The PNG encoder: an image described by value becomes a complete PNG file in
// memory. Used to turn the pictures of a report into picture groups, and by the
// tools that make pictures.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "png/deflate_writer.h"

namespace zorv::png {

enum class PngColourType : std::uint8_t {
  Grey = 0,
  Rgb = 2,
  Palette = 3,
  GreyAlpha = 4,
  Rgba = 6,
};

// A tEXt chunk, or a zTXt chunk when `compressed`. Both strings are Latin-1
// bytes; the keyword has 1 to 79 of them, no NUL and no leading or trailing
// space, and the text has no NUL.
struct PngText {
  std::string keyword;
  std::string text;
  bool compressed = false;
};

// The tIME chunk: the last modification, in UTC.
struct PngTime {
  std::uint16_t year = 2000;
  std::uint8_t month = 1;   // 1..12
  std::uint8_t day = 1;     // 1..31
  std::uint8_t hour = 0;    // 0..23
  std::uint8_t minute = 0;  // 0..59
  std::uint8_t second = 0;  // 0..60 (a leap second)
};

struct PngImage {
  std::uint32_t width = 0;   // 1 .. 2^31 - 1
  std::uint32_t height = 0;  // 1 .. 2^31 - 1
  PngColourType colourType = PngColourType::Rgb;
  // 1, 2, 4, 8 or 16 for grey; 1, 2, 4 or 8 for palette; 8 or 16 for the others.
  std::uint8_t bitDepth = 8;
  // `height` rows of PngRowBytes() bytes, top row first, packed as PNG stores
  // them: samples below 8 bits from the top bit of each byte, 16-bit samples
  // high byte first, palette images holding indices.
  std::vector<std::uint8_t> samples;
  // PLTE: red, green, blue per entry. Required for palette images (at most
  // 2^bitDepth entries), allowed as a suggestion for Rgb and Rgba, refused for grey.
  std::vector<std::uint8_t> palette;
  // tRNS data as stored: one alpha byte per palette entry (possibly fewer than
  // the entries), or the transparent grey (2 bytes) or RGB (6 bytes) sample,
  // high byte first. Refused for images with an alpha channel.
  std::optional<std::vector<std::uint8_t>> transparency;
  // bKGD data as stored: a palette index (1 byte), a grey (2 bytes) or an RGB
  // sample (6 bytes), high byte first.
  std::optional<std::vector<std::uint8_t>> background;
  std::vector<PngText> texts;
  std::optional<PngTime> modified;
  // gAMA: the image gamma times 100000 (45455 for the usual 1/2.2).
  std::optional<std::uint32_t> gamma;
  // Adam7 interlacing.
  bool interlaced = false;
};

// Bytes in one stored row of the image: width × bits per pixel, rounded up to
// whole bytes. Error 5 for a colour type and bit depth PNG does not allow, 6 when
// the value does not fit.
std::size_t PngRowBytes(std::uint32_t width, PngColourType colourType, std::uint8_t bitDepth);

// The PNG file. Error 5 when the image breaks one of the rules given above, for
// instance samples of the wrong size.
std::vector<std::uint8_t> EncodePng(const PngImage& image, int compressionLevel = kDefaultCompression);

// An 8-bit RGB PNG, quick to make, from `width` × `height` pixels, each
// 0x00RRGGBB, top row first.
std::vector<std::uint8_t> EncodeRgbPng(std::uint32_t width, std::uint32_t height,
                                       std::span<const std::uint32_t> rrggbbPixels);

// The same from rows of blue, green, red bytes, `rowStride` bytes apart (at
// least 3 × width), top row first or, when `bottomUp`, bottom row first.
std::vector<std::uint8_t> EncodeRgbPng(std::uint32_t width, std::uint32_t height,
                                       std::span<const std::uint8_t> bgrRows, std::size_t rowStride,
                                       bool bottomUp = false);

}  // namespace zorv::png
