#include "platform/qt/qt_screen_metrics.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace zorv {
namespace {

constexpr double kTwipsPerInch = 1440.0;

float TwipsPerPixel(double dotsPerInch) {
  return dotsPerInch > 0 ? static_cast<float>(kTwipsPerInch / dotsPerInch) : 15.0f;
}

}  // namespace

ScreenMetrics ScreenMetricsOf(const QScreen& screen) {
  ScreenMetrics metrics;
  metrics.TwipsPerPixelX = TwipsPerPixel(screen.logicalDotsPerInchX());
  metrics.TwipsPerPixelY = TwipsPerPixel(screen.logicalDotsPerInchY());
  const QRect pixels = screen.geometry();
  metrics.WidthTwips = static_cast<std::int32_t>(std::lround(pixels.width() * metrics.TwipsPerPixelX));
  metrics.HeightTwips = static_cast<std::int32_t>(std::lround(pixels.height() * metrics.TwipsPerPixelY));
  return metrics;
}

ScreenMetrics PrimaryScreenMetrics() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? ScreenMetricsOf(*screen) : ScreenMetrics{};
}

QRect TwipsRectToPixels(double left, double top, double width, double height, const ScreenMetrics& screen) {
  const auto signedPixels = [](double twips, float perPixel) {
    return twips < 0 ? -TwipsToPixels(-twips, perPixel) : TwipsToPixels(twips, perPixel);
  };
  return QRect(signedPixels(left, screen.TwipsPerPixelX), signedPixels(top, screen.TwipsPerPixelY),
               TwipsToPixels(width, screen.TwipsPerPixelX), TwipsToPixels(height, screen.TwipsPerPixelY));
}

}  // namespace zorv
