#pragma once
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

}  // namespace zorv
