#pragma once
// Builds PNG files byte by byte for tests: chunks with any content (CRCs are
// never checked, so they are left zero) and image data as a zlib stream of
// stored blocks.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "png/png_format.h"

namespace zorv::png::testing {

using Bytes = std::vector<std::uint8_t>;

inline void PutBigEndian32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

inline Bytes Ihdr(std::uint32_t width, std::uint32_t height, std::uint8_t depth, std::uint8_t colourType,
                  std::uint8_t interlace = 0, std::uint8_t compression = 0) {
  Bytes data;
  PutBigEndian32(data, width);
  PutBigEndian32(data, height);
  data.insert(data.end(), {depth, colourType, compression, 0, interlace});
  return data;
}

// A zlib stream holding `raw` in stored blocks; the Adler-32 is never read.
inline Bytes StoredZlib(const Bytes& raw) {
  Bytes out = {0x78, 0x01};
  std::size_t at = 0;
  do {
    const auto length = static_cast<std::uint16_t>(std::min<std::size_t>(raw.size() - at, 65535));
    out.insert(out.end(), {at + length == raw.size(), static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
                           static_cast<std::uint8_t>(~length), static_cast<std::uint8_t>(~length >> 8)});
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at), raw.begin() + static_cast<std::ptrdiff_t>(at + length));
    at += length;
  } while (at < raw.size());
  out.insert(out.end(), {0, 0, 0, 0});
  return out;
}

class PngBuilder {
 public:
  PngBuilder& Chunk(std::string_view type, const Bytes& data) {
    PutBigEndian32(bytes_, static_cast<std::uint32_t>(data.size()));
    bytes_.insert(bytes_.end(), type.begin(), type.end());
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    PutBigEndian32(bytes_, 0);
    return *this;
  }
  PngBuilder& Text(std::string_view type, std::string_view text) { return Chunk(type, Bytes(text.begin(), text.end())); }
  // Rows with their filter bytes, as one IDAT chunk.
  PngBuilder& Image(const Bytes& filteredRows) { return Chunk("IDAT", StoredZlib(filteredRows)); }
  PngBuilder& End() { return Chunk("IEND", {}); }
  std::string Str() const { return std::string(bytes_.begin(), bytes_.end()); }

 private:
  Bytes bytes_{kPngSignature.begin(), kPngSignature.end()};
};

}  // namespace zorv::png::testing
