#pragma once
// The compressor: deflate (RFC 1951) and its zlib wrapping (RFC 1950), the form
// PNG image data and zTXt texts are stored in.
#include <cstdint>
#include <span>
#include <vector>

namespace zorv::png {

// Compression effort on the customary 0..9 scale: 0 only stores, 1 to 3 take the
// first match found (fast), 4 to 9 look one byte ahead and search longer chains.
inline constexpr int kFastestCompression = 1;
inline constexpr int kDefaultCompression = 6;
inline constexpr int kBestCompression = 9;

// A raw deflate stream. Error 5 for a level outside 0..9, 6 for input of 2^31
// bytes or more.
std::vector<std::uint8_t> Deflate(std::span<const std::uint8_t> input, int level = kDefaultCompression);

// A zlib stream: two header bytes, the deflate stream, the Adler-32 of `input`.
std::vector<std::uint8_t> ZlibCompress(std::span<const std::uint8_t> input, int level = kDefaultCompression);

}  // namespace zorv::png
