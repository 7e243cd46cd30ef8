#include "window/qt/qt_embedded_picture.h"

#include "window/picture_file.h"
#include "window/shown_picture_size.h"

namespace zorv {

QImage DecodePicture(const richtext::Picture& picture) {
  const std::optional<PictureFile> file = PictureFileOf(picture);
  if (!file) return {};
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(file->bytes.data()),
                                                   static_cast<qsizetype>(file->bytes.size()));
  // Each kind is read as what it says it is, and nothing else.
  const char* format = file->extension == ".png" ? "PNG" : file->extension == ".jpg" ? "JPEG" : "BMP";
  return QImage::fromData(bytes, format);
}

QSize PictureShownSize(const richtext::Picture& picture, const QImage& image, const ScreenMetrics& screen) {
  const PixelSize shown = ShownPictureSize(picture, {image.width(), image.height()}, screen);
  return QSize(shown.width, shown.height);
}

}  // namespace zorv
