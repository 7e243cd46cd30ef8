#include "window/picture_file.h"

#include <span>

namespace zorv {
namespace {

std::uint32_t LittleEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void PutLittleEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

// A device-independent bitmap is a bitmap file without its 14-byte file header,
// which says where the pixel rows start: after the info header, the three colour
// masks of a 40-byte header with bit-field compression, and the colour table.
std::optional<PictureFile> BitmapFile(std::span<const std::uint8_t> data) {
  constexpr std::size_t kInfoHeaderSize = 40;
  if (data.size() < kInfoHeaderSize) return std::nullopt;
  const std::uint32_t headerSize = LittleEndian32(data, 0);
  if (headerSize < kInfoHeaderSize || headerSize > data.size()) return std::nullopt;
  const std::uint32_t bitCount = static_cast<std::uint32_t>(data[14]) | static_cast<std::uint32_t>(data[15]) << 8;
  const std::uint32_t compression = LittleEndian32(data, 16);
  const std::uint32_t coloursUsed = LittleEndian32(data, 32);
  std::uint64_t tableEntries = coloursUsed;
  if (tableEntries == 0 && bitCount <= 8) tableEntries = std::uint64_t{1} << bitCount;
  std::uint64_t pixelOffset = 14 + std::uint64_t{headerSize} + 4 * tableEntries;
  constexpr std::uint32_t kBitFields = 3;
  if (compression == kBitFields && headerSize == kInfoHeaderSize) pixelOffset += 12;
  if (pixelOffset > 14 + data.size() || data.size() > 0xFFFFFFFFu - 14) return std::nullopt;

  PictureFile file{".bmp", {}};
  file.bytes.reserve(14 + data.size());
  file.bytes.push_back('B');
  file.bytes.push_back('M');
  PutLittleEndian32(file.bytes, static_cast<std::uint32_t>(14 + data.size()));
  PutLittleEndian32(file.bytes, 0);
  PutLittleEndian32(file.bytes, static_cast<std::uint32_t>(pixelOffset));
  file.bytes.insert(file.bytes.end(), data.begin(), data.end());
  return file;
}

}  // namespace

std::optional<PictureFile> PictureFileOf(const richtext::Picture& picture) {
  if (picture.data.empty()) return std::nullopt;
  switch (picture.kind) {
    case richtext::BlipKind::Png:
      return PictureFile{".png", picture.data};
    case richtext::BlipKind::Jpeg:
      return PictureFile{".jpg", picture.data};
    case richtext::BlipKind::DeviceIndependent:
      return BitmapFile(picture.data);
    default:
      return std::nullopt;
  }
}

}  // namespace zorv
