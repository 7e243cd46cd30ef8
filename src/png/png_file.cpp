#include "png/png_file.h"

#include <algorithm>
#include <cstdio>

#include "platform/run_time_error.h"

namespace zorv::png {
namespace {

std::uint32_t ByteAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return offset < bytes.size() ? bytes[offset] : 0U;
}

}  // namespace

bool IsPngSignature(std::span<const std::uint8_t> bytes) {
  return bytes.size() == kPngSignature.size() && std::equal(bytes.begin(), bytes.end(), kPngSignature.begin());
}

std::uint32_t ReadBigEndian32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return ByteAt(bytes, offset) << 24 | ByteAt(bytes, offset + 1) << 16 | ByteAt(bytes, offset + 2) << 8 |
         ByteAt(bytes, offset + 3);
}

std::uint16_t ReadBigEndian16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(ByteAt(bytes, offset) << 8 | ByteAt(bytes, offset + 1));
}

ImageHeader ReadHeader(std::span<const std::uint8_t> data) {
  ImageHeader header;
  header.width = static_cast<std::int32_t>(ReadBigEndian32(data, 0));
  header.height = static_cast<std::int32_t>(ReadBigEndian32(data, 4));
  header.bitDepth = static_cast<std::int32_t>(ByteAt(data, 8));
  header.colourType = static_cast<std::int32_t>(ByteAt(data, 9));
  header.compression = static_cast<std::int32_t>(ByteAt(data, 10));
  header.filter = static_cast<std::int32_t>(ByteAt(data, 11));
  header.interlacing = static_cast<std::int32_t>(ByteAt(data, 12));
  return header;
}

std::string FormatModiTime(std::span<const std::uint8_t> data) {
  if (data.size() < 7) throw RunTimeError(ErrorCode::SubscriptOutOfRange, "tIME chunk too short");
  const auto year = static_cast<std::int16_t>(ReadBigEndian16(data, 0));
  char text[48];
  std::snprintf(text, sizeof text, "%02d.%02d.%d %02d:%02d:%02d", data[3], data[2], year, data[4], data[5], data[6]);
  return text;
}

std::int64_t FindZero(std::span<const std::uint8_t> data, std::size_t start) {
  const auto last = static_cast<std::int64_t>(data.size()) - 1;
  if (start >= data.size()) return last;
  const auto zero = std::find(data.begin() + static_cast<std::ptrdiff_t>(start), data.end(), std::uint8_t{0});
  return zero == data.end() ? last : static_cast<std::int64_t>(zero - data.begin()) - 1;
}

}  // namespace zorv::png
