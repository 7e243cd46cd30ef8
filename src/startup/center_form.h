#pragma once
#include <cstdint>

#include "platform/screen_metrics.h"

namespace zorv {

struct WindowPosition {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
};

// Where a window of this size (twips) goes when centred: across the middle,
// and with its middle at 45 per cent of the screen height, a little above the
// centre. Never off the top or left edge.
WindowPosition CenterForm(const ScreenMetrics& screen, double windowWidth, double windowHeight);

}  // namespace zorv
