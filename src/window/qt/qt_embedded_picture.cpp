#include "window/qt/qt_embedded_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>

namespace zorv {
namespace {

// A picture never shows larger than this many pixels across or down.
constexpr double kLargestSide = 16384;

std::uint32_t LittleEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void PutLittleEndian32(QByteArray& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.append(static_cast<char>((value >> shift) & 0xFF));
}

// A device-independent bitmap is a bitmap file without its 14-byte file header,
// which says where the pixel rows start: after the info header, the three colour
// masks of a 40-byte header with bit-field compression, and the colour table.
QImage DecodeDeviceIndependent(std::span<const std::uint8_t> data) {
  constexpr std::size_t kInfoHeaderSize = 40;
  if (data.size() < kInfoHeaderSize) return {};
  const std::uint32_t headerSize = LittleEndian32(data, 0);
  if (headerSize < kInfoHeaderSize || headerSize > data.size()) return {};
  const std::uint32_t bitCount = static_cast<std::uint32_t>(data[14]) | static_cast<std::uint32_t>(data[15]) << 8;
  const std::uint32_t compression = LittleEndian32(data, 16);
  const std::uint32_t coloursUsed = LittleEndian32(data, 32);
  std::uint64_t tableEntries = coloursUsed;
  if (tableEntries == 0 && bitCount <= 8) tableEntries = std::uint64_t{1} << bitCount;
  std::uint64_t pixelOffset = 14 + std::uint64_t{headerSize} + 4 * tableEntries;
  constexpr std::uint32_t kBitFields = 3;
  if (compression == kBitFields && headerSize == kInfoHeaderSize) pixelOffset += 12;
  if (pixelOffset > 14 + data.size()) return {};

  QByteArray file;
  file.reserve(static_cast<qsizetype>(14 + data.size()));
  file.append("BM", 2);
  PutLittleEndian32(file, static_cast<std::uint32_t>(14 + data.size()));
  PutLittleEndian32(file, 0);
  PutLittleEndian32(file, static_cast<std::uint32_t>(pixelOffset));
  file.append(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
  return QImage::fromData(file, "BMP");
}

double ShownSide(int goalTwips, int ownPixels, int imagePixels, int scalePercent, float twipsPerPixel) {
  double pixels = 0;
  if (goalTwips > 0 && twipsPerPixel > 0) {
    pixels = goalTwips / static_cast<double>(twipsPerPixel);
  } else if (ownPixels > 0) {
    pixels = ownPixels;
  } else {
    pixels = imagePixels;
  }
  const double scale = scalePercent > 0 ? scalePercent / 100.0 : 1.0;
  return std::clamp(pixels * scale, 0.0, kLargestSide);
}

}  // namespace

QImage DecodePicture(const richtext::Picture& picture) {
  const std::span<const std::uint8_t> data(picture.data);
  if (data.empty()) return {};
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()),
                                                   static_cast<qsizetype>(data.size()));
  switch (picture.kind) {
    case richtext::BlipKind::Png:
      return QImage::fromData(bytes, "PNG");
    case richtext::BlipKind::Jpeg:
      return QImage::fromData(bytes, "JPEG");
    case richtext::BlipKind::DeviceIndependent:
      return DecodeDeviceIndependent(data);
    default:
      return {};
  }
}

QSize PictureShownSize(const richtext::Picture& picture, const QImage& image, const ScreenMetrics& screen) {
  // \picw and \pich count pixels only for bitmaps; a metafile's are in its own units.
  const bool sizedInPixels = picture.kind != richtext::BlipKind::Metafile &&
                             picture.kind != richtext::BlipKind::EnhancedMetafile &&
                             picture.kind != richtext::BlipKind::Unknown;
  const double width = ShownSide(picture.goalWidth, sizedInPixels ? picture.width : 0, image.width(),
                                 picture.scaleX, screen.TwipsPerPixelX);
  const double height = ShownSide(picture.goalHeight, sizedInPixels ? picture.height : 0, image.height(),
                                  picture.scaleY, screen.TwipsPerPixelY);
  return QSize(static_cast<int>(std::lround(width)), static_cast<int>(std::lround(height)));
}

}  // namespace zorv
