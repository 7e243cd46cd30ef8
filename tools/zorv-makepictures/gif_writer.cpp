#include "gif_writer.h"

#include <algorithm>

#include "gif_lzw.h"
#include "platform/run_time_error.h"

namespace zorv::pictures {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void CheckImage(const IndexedImage& image) {
  const std::size_t entries = image.palette.size() / 3;
  const bool valid = image.width > 0 && image.height > 0 &&
                     image.indices.size() == std::size_t{image.width} * image.height && entries >= 1 &&
                     entries <= 256 && image.palette.size() % 3 == 0 &&
                     std::all_of(image.indices.begin(), image.indices.end(), [&](auto i) { return i < entries; }) &&
                     (!image.transparentIndex || *image.transparentIndex < entries);
  if (!valid) throw RunTimeError(ErrorCode::InvalidArgument);
}

// Bits per entry of the colour table: the table holds 2^bits entries, at least 2.
int TableBits(std::size_t entries) {
  int bits = 1;
  while ((std::size_t{1} << bits) < entries) ++bits;
  return bits;
}

}  // namespace

std::vector<std::uint8_t> EncodeGif(const IndexedImage& image) {
  CheckImage(image);
  const int tableBits = TableBits(image.palette.size() / 3);
  std::vector<std::uint8_t> out = {'G', 'I', 'F', '8', '9', 'a'};
  // Logical screen: the image's size, a global colour table of 2^tableBits
  // entries, 8 bits per primary colour, background index 0, no aspect ratio.
  Put16(out, image.width);
  Put16(out, image.height);
  out.push_back(static_cast<std::uint8_t>(0x80 | 0x70 | (tableBits - 1)));
  out.push_back(0);
  out.push_back(0);
  out.insert(out.end(), image.palette.begin(), image.palette.end());
  out.resize(out.size() + 3 * (std::size_t{1} << tableBits) - image.palette.size(), 0);

  if (image.transparentIndex) {
    // Graphic control extension: no disposal, no delay, transparent colour flag.
    out.insert(out.end(), {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, *image.transparentIndex, 0x00});
  }
  // Image descriptor: the whole screen, no local colour table, not interlaced.
  out.push_back(0x2C);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, image.width);
  Put16(out, image.height);
  out.push_back(0);

  const int minimumCodeSize = std::max(2, tableBits);
  out.push_back(static_cast<std::uint8_t>(minimumCodeSize));
  const std::vector<std::uint8_t> codes = LzwCompress(image.indices, minimumCodeSize);
  // The codes travel in sub-blocks of at most 255 bytes, each behind its length.
  for (std::size_t offset = 0; offset < codes.size(); offset += 255) {
    const std::size_t length = std::min<std::size_t>(255, codes.size() - offset);
    out.push_back(static_cast<std::uint8_t>(length));
    out.insert(out.end(), codes.begin() + static_cast<std::ptrdiff_t>(offset),
               codes.begin() + static_cast<std::ptrdiff_t>(offset + length));
  }
  out.push_back(0);     // block terminator
  out.push_back(0x3B);  // trailer
  return out;
}

}  // namespace zorv::pictures
