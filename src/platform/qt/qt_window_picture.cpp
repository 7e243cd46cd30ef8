#include "platform/qt/qt_window_picture.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/qt/qt_screen_metrics.h"

namespace zorv {
namespace {

// A capture never asks for more than this many pixels across or down.
constexpr std::int32_t kLargestSide = 16384;

}  // namespace

std::int32_t WindowPicture::Width() const {
  return static_cast<std::int32_t>(std::lround(window_.width() * static_cast<double>(screen_.TwipsPerPixelX)));
}

std::int32_t WindowPicture::Height() const {
  return static_cast<std::int32_t>(std::lround(window_.height() * static_cast<double>(screen_.TwipsPerPixelY)));
}

void WindowPicture::SetWidth(std::int32_t twips) {
  window_.resize(std::max(1, TwipsToPixels(twips, screen_.TwipsPerPixelX)), window_.height());
}

void WindowPicture::SetHeight(std::int32_t twips) {
  window_.resize(window_.width(), std::max(1, TwipsToPixels(twips, screen_.TwipsPerPixelY)));
}

Image WindowPicture::Capture(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                             std::vector<std::uint32_t> storage) const {
  width = std::clamp(width, 0, kLargestSide);
  height = std::clamp(height, 0, kLargestSide);
  Image image(width, height, 0, std::move(storage));
  // Far-off places only keep the rectangle's arithmetic in range: they meet
  // no part of the window either way.
  constexpr std::int32_t kFarthest = 1 << 28;
  x = std::clamp(x, -kFarthest, kFarthest);
  y = std::clamp(y, -kFarthest, kFarthest);
  const QRect inside = QRect(x, y, width, height).intersected(window_.rect());
  if (inside.isEmpty()) return image;
  QImage shown = window_.grab(inside).toImage().convertToFormat(QImage::Format_RGB32);
  // On a scaled screen the grab counts device pixels.
  if (shown.size() != inside.size()) shown = shown.scaled(inside.size());
  const int rows = std::min(shown.height(), inside.height());
  const int columns = std::min(shown.width(), inside.width());
  for (int row = 0; row < rows; ++row) {
    const auto* pixels = reinterpret_cast<const QRgb*>(shown.constScanLine(row));
    for (int column = 0; column < columns; ++column) {
      image.At(inside.x() - x + column, inside.y() - y + row) = pixels[column] & 0xFFFFFF;
    }
  }
  return image;
}

}  // namespace zorv
