#include "window/shown_picture_size.h"

#include <algorithm>
#include <cmath>

namespace zorv {
namespace {

// A picture never shows larger than this many pixels across or down.
constexpr double kLargestSide = 16384;

int ShownSide(int goalTwips, int ownPixels, int imagePixels, int scalePercent, float twipsPerPixel) {
  double pixels = 0;
  if (goalTwips > 0 && twipsPerPixel > 0) {
    pixels = goalTwips / static_cast<double>(twipsPerPixel);
  } else if (ownPixels > 0) {
    pixels = ownPixels;
  } else {
    pixels = imagePixels;
  }
  const double scale = scalePercent > 0 ? scalePercent / 100.0 : 1.0;
  return static_cast<int>(std::lround(std::clamp(pixels * scale, 0.0, kLargestSide)));
}

}  // namespace

PixelSize ShownPictureSize(const richtext::Picture& picture, PixelSize decoded, const ScreenMetrics& screen) {
  const bool sizedInPixels = picture.kind != richtext::BlipKind::Metafile &&
                             picture.kind != richtext::BlipKind::EnhancedMetafile &&
                             picture.kind != richtext::BlipKind::Unknown;
  return {ShownSide(picture.goalWidth, sizedInPixels ? picture.width : 0, decoded.width, picture.scaleX,
                    screen.TwipsPerPixelX),
          ShownSide(picture.goalHeight, sizedInPixels ? picture.height : 0, decoded.height, picture.scaleY,
                    screen.TwipsPerPixelY)};
}

}  // namespace zorv
