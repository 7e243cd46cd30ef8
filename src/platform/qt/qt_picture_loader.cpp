#include "platform/qt/qt_picture_loader.h"

#include <QImage>
#include <QImageReader>

#include "platform/file_system.h"
#include "platform/run_time_error.h"

namespace zorv {

Image QtPictureLoader::Load(const std::string& windowsPath) {
  if (!FileExists(windowsPath)) throw RunTimeError(ErrorCode::FileNotFound);
  QImageReader reader(QString::fromStdString(ResolvePath(windowsPath).string()));
  // The format comes from the content, not the name: a ".jpg" that is a GIF
  // still shows.
  reader.setDecideFormatFromContent(true);
  reader.setAutoTransform(true);
  const QImage decoded = reader.read();
  if (decoded.isNull()) throw RunTimeError(ErrorCode::InvalidPicture);
  // Transparent GIF pixels show the box's white background.
  QImage rgb(decoded.size(), QImage::Format_RGB32);
  rgb.fill(Qt::white);
  if (decoded.hasAlphaChannel()) {
    const QImage argb = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < argb.height(); ++y) {
      const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
      auto* out = reinterpret_cast<QRgb*>(rgb.scanLine(y));
      for (int x = 0; x < argb.width(); ++x) {
        const int a = qAlpha(in[x]);
        out[x] = qRgb(qRed(in[x]) + (255 - a), qGreen(in[x]) + (255 - a), qBlue(in[x]) + (255 - a));
      }
    }
  } else {
    rgb = decoded.convertToFormat(QImage::Format_RGB32);
  }
  Image picture(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) picture.At(x, y) = row[x] & 0xFFFFFF;
  }
  return picture;
}

}  // namespace zorv
