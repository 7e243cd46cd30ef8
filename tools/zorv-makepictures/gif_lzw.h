#pragma once
// The variable-length LZW code of GIF image data.
#include <cstdint>
#include <span>
#include <vector>

namespace zorv::pictures {

// The LZW codes for `indices`, packed least significant bit first, starting with
// a clear code and ending with the end-of-information code. `minimumCodeSize`
// (2..8) is the number of bits every index fits in.
std::vector<std::uint8_t> LzwCompress(std::span<const std::uint8_t> indices, int minimumCodeSize);

}  // namespace zorv::pictures
