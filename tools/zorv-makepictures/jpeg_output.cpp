#include "jpeg_output.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include "picture_formats.h"
#include "platform/run_time_error.h"

namespace zorv::pictures {

std::vector<std::uint8_t> EncodeJpeg(const Canvas& canvas, int quality) {
  const Canvas flat = Flatten(canvas, Rgba{0, 0, 0, 255});
  QImage image(flat.Width(), flat.Height(), QImage::Format_RGB32);
  for (int y = 0; y < flat.Height(); ++y)
    for (int x = 0; x < flat.Width(); ++x) {
      const Rgba p = flat.At(x, y);
      image.setPixel(x, y, qRgb(p.r, p.g, p.b));
    }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "JPG", quality)) throw RunTimeError(ErrorCode::PathFileAccess, "no JPEG writer in Qt");
  return {bytes.begin(), bytes.end()};
}

}  // namespace zorv::pictures
