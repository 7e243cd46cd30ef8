#pragma once
// Appends PNG chunks (length, type, data, CRC of type and data) to a file being built.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zorv::png {

inline constexpr std::uint8_t kPngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

// `type` is four ASCII letters. Error 6 for data of 2^31 bytes or more.
void AppendChunk(std::vector<std::uint8_t>& file, std::string_view type, std::span<const std::uint8_t> data);

// Big-endian fields, the byte order of every number in a PNG file.
void AppendBigEndian16(std::vector<std::uint8_t>& bytes, std::uint16_t value);
void AppendBigEndian32(std::vector<std::uint8_t>& bytes, std::uint32_t value);

}  // namespace zorv::png
