#pragma once
// The screen as the program measures it, read from Qt's screen. Twips per
// pixel follow the screen's logical resolution, as fonts in points do.
#include <QRect>

#include "platform/screen_metrics.h"

class QScreen;

namespace zorv {

ScreenMetrics ScreenMetricsOf(const QScreen& screen);
// The primary screen's metrics; the built-in ones when there is no screen.
ScreenMetrics PrimaryScreenMetrics();

// A place and size in twips as a pixel rectangle.
QRect TwipsRectToPixels(double left, double top, double width, double height, const ScreenMetrics& screen);

}  // namespace zorv
