#pragma once
// An embedded picture of the report as Qt draws it: its data decoded into an
// image, and the size a word processor would show it at.
#include <QImage>
#include <QSize>

#include "platform/screen_metrics.h"
#include "richtext/document.h"

namespace zorv {

// PNG and JPEG data as they stand; a device-independent bitmap gets the file
// header it lacks. A null image when the data cannot be decoded.
QImage DecodePicture(const richtext::Picture& picture);

// The picture's goal size (twips) when it has one, else its own size in pixels,
// times its scale; a null image without either shows at nothing.
QSize PictureShownSize(const richtext::Picture& picture, const QImage& image, const ScreenMetrics& screen);

}  // namespace zorv
