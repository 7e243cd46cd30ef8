#pragma once
// CRC-32 as PNG chunks carry it (reflected polynomial 0xEDB88320, initial and
// final value all ones).
#include <cstdint>
#include <span>

namespace zorv::png {

// Continues a running CRC; start with 0 and feed the pieces in order.
std::uint32_t UpdateCrc32(std::uint32_t crc, std::span<const std::uint8_t> bytes) noexcept;

inline std::uint32_t Crc32(std::span<const std::uint8_t> bytes) noexcept { return UpdateCrc32(0, bytes); }

}  // namespace zorv::png
