#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zorv {

// The screen as the program measures it: its size in twips (1/1440 inch) and
// how many twips one pixel takes across and down.
struct ScreenMetrics {
  std::int32_t WidthTwips = 1920 * 15;
  std::int32_t HeightTwips = 1080 * 15;
  float TwipsPerPixelX = 15.0f;
  float TwipsPerPixelY = 15.0f;

  double WidthPixels() const { return WidthTwips / static_cast<double>(TwipsPerPixelX); }
  double HeightPixels() const { return HeightTwips / static_cast<double>(TwipsPerPixelY); }
};

// Whole pixels for a length in twips (never negative), as the window places its
// controls and the exported page its sheet.
inline int TwipsToPixels(double twips, float twipsPerPixel) {
  if (!(twips > 0) || !(twipsPerPixel > 0)) return 0;
  // Sizes come from a user's file: keep them within what a window can take.
  constexpr double kLargest = 1 << 24;
  return static_cast<int>(std::lround(std::min(twips / twipsPerPixel, kLargest)));
}

inline int TwipsToPixels(std::int32_t twips, float twipsPerPixel) {
  return TwipsToPixels(static_cast<double>(twips), twipsPerPixel);
}

}  // namespace zorv
