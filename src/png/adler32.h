#pragma once
// Adler-32, the checksum that ends a zlib stream.
#include <cstdint>
#include <span>

namespace zorv::png {

// Continues a running checksum; start with 1 and feed the pieces in order.
std::uint32_t UpdateAdler32(std::uint32_t adler, std::span<const std::uint8_t> bytes) noexcept;

inline std::uint32_t Adler32(std::span<const std::uint8_t> bytes) noexcept { return UpdateAdler32(1, bytes); }

}  // namespace zorv::png
