#pragma once
// zlib's inflate, the reference our compressor is checked against.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zorv::testing {

// The inflated bytes of a raw deflate stream (`zlibWrapped` false) or of a zlib
// stream with its header and Adler-32 checked; nothing when zlib refuses the
// stream or finds bytes after its end.
std::optional<std::vector<std::uint8_t>> InflateWithZlib(std::span<const std::uint8_t> stream, bool zlibWrapped);

}  // namespace zorv::testing
