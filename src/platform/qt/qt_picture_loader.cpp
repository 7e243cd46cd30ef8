#include "platform/qt/qt_picture_loader.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include "platform/file_system.h"
#include "platform/run_time_error.h"

namespace zorv {
namespace {

// Sides beyond this are refused before any pixel is allocated.
constexpr int kLargestSide = 16384;

Image ToImage(const QImage& picture) {
  // Transparent areas take the box's white, as when the box shows the picture.
  QImage opaque(picture.size(), QImage::Format_RGB32);
  opaque.fill(Qt::white);
  {
    QPainter painter(&opaque);
    painter.drawImage(0, 0, picture);
  }
  Image image(opaque.width(), opaque.height());
  for (int y = 0; y < opaque.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(opaque.constScanLine(y));
    for (int x = 0; x < opaque.width(); ++x) image.At(x, y) = row[x] & 0xFFFFFF;
  }
  return image;
}

}  // namespace

Image QtPictureLoader::Load(const std::string& windowsPath) {
  if (!FileExists(windowsPath)) throw RunTimeError(ErrorCode::FileNotFound);
  return LoadBytes(ReadWholeFile(windowsPath));
}

Image QtPictureLoader::LoadBytes(const std::string& file) {
  QByteArray bytes = QByteArray::fromStdString(file);
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QSize size = reader.size();
  if (!size.isValid() || size.isEmpty() || size.width() > kLargestSide || size.height() > kLargestSide) {
    throw RunTimeError(ErrorCode::InvalidPicture);
  }
  const QImage picture = reader.read();
  if (picture.isNull()) throw RunTimeError(ErrorCode::InvalidPicture);
  return ToImage(picture);
}

}  // namespace zorv
