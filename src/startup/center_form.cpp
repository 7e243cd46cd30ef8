#include "startup/center_form.h"

#include <algorithm>

#include "startup/leading_number.h"

namespace zorv {

WindowPosition CenterForm(const ScreenMetrics& screen, double windowWidth, double windowHeight) {
  // Whole-number division takes its operands as whole numbers first.
  const auto half = [](double value) { return RoundToLong(value) / 2; };
  WindowPosition position;
  position.Left = half(screen.WidthTwips) - half(windowWidth);
  position.Top = RoundToLong(half(screen.HeightTwips) * 0.9 - half(windowHeight));
  position.Left = std::max(position.Left, 0);
  position.Top = std::max(position.Top, 0);
  return position;
}

}  // namespace zorv
