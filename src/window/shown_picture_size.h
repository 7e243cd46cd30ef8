#pragma once
// The size a report's picture shows at, in pixels, wherever the sheet is drawn:
// the window and the exported page give every picture the same size.
#include "platform/screen_metrics.h"
#include "richtext/document.h"

namespace zorv {

struct PixelSize {
  int width = 0;
  int height = 0;
  bool operator==(const PixelSize&) const = default;
};

// The picture's goal size (twips) when it has one, else its own size in pixels
// (\picw and \pich count pixels only for bitmaps), else the decoded image's,
// times its scale, at most 16,384 pixels a side.
PixelSize ShownPictureSize(const richtext::Picture& picture, PixelSize decoded, const ScreenMetrics& screen);

}  // namespace zorv
