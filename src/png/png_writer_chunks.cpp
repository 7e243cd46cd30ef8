#include "png/png_writer_chunks.h"

#include "platform/run_time_error.h"
#include "png/crc32.h"

namespace zorv::png {

void AppendBigEndian16(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
  bytes.push_back(static_cast<std::uint8_t>(value));
}

void AppendBigEndian32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendChunk(std::vector<std::uint8_t>& file, std::string_view type, std::span<const std::uint8_t> data) {
  if (type.size() != 4) throw RunTimeError(ErrorCode::InvalidArgument);
  if (data.size() > 0x7FFFFFFFu) throw RunTimeError(ErrorCode::Overflow);
  AppendBigEndian32(file, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeStart = file.size();
  file.insert(file.end(), type.begin(), type.end());
  file.insert(file.end(), data.begin(), data.end());
  // The CRC covers the type and the data, not the length.
  const std::uint32_t crc = Crc32(std::span<const std::uint8_t>(file).subspan(typeStart));
  AppendBigEndian32(file, crc);
}

}  // namespace zorv::png
