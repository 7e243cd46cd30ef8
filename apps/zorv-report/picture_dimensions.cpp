#include "picture_dimensions.h"

#include <cstdint>
#include <span>

#include "platform/ascii_case.h"
#include "platform/file_system.h"
#include "png/png_file.h"
#include "startup/picture_archives.h"
#ifdef ZORV_WITH_QT_PICTURES
#include <QBuffer>
#include <QImageReader>
#endif

namespace zorv {
namespace {

// The signature, then the IHDR chunk's length and type, then its width and height.
constexpr std::size_t kPngSizeEnd = 24;

std::optional<PixelSize> PngDimensions(std::string_view head) {
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(head.data()), head.size());
  if (bytes.size() < kPngSizeEnd || !png::IsPngSignature(bytes.first(png::kPngSignature.size()))) return std::nullopt;
  const std::uint32_t width = png::ReadBigEndian32(bytes, 16);
  const std::uint32_t height = png::ReadBigEndian32(bytes, 20);
  if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return std::nullopt;
  return PixelSize{static_cast<int>(width), static_cast<int>(height)};
}

// A JPEG's size stands in a frame header after its other markers, which some
// cameras fill with a large thumbnail: the first 256 KiB hold it.
constexpr std::int64_t kHeaderStretch = 256 * 1024;

std::optional<PixelSize> Dimensions(const std::string& head, bool png) {
  if (png) return PngDimensions(head);
#ifdef ZORV_WITH_QT_PICTURES
  QByteArray bytes = QByteArray::fromRawData(head.data(), static_cast<qsizetype>(head.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  const QSize size = QImageReader(&buffer).size();
  if (size.isValid() && !size.isEmpty()) return PixelSize{size.width(), size.height()};
#endif
  return std::nullopt;
}

}  // namespace

std::optional<PixelSize> PictureDimensions(const std::string& path) {
  try {
    const bool png = EqualIgnoringCase(std::string_view(path).substr(path.size() >= 4 ? path.size() - 4 : 0), ".png");
    return Dimensions(IsArchivePicture(path) ? ReadArchivePicture(path) : ReadStretch(path, 1, png ? static_cast<std::int64_t>(kPngSizeEnd) : kHeaderStretch),
                      png);
  } catch (const std::exception&) {
    return std::nullopt;  // the load fails the same way and says so in the log
  }
}

}  // namespace zorv
