#include "png/composite.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "png/kernels.h"
#include "png/pixel_format.h"

namespace zorv::png {
namespace {

// The blend keeps an opaque pixel's colour and a transparent pixel's background
// exactly, (C * 255 + 255) >> 8 being C, so every pixel takes it without a branch.
std::uint8_t Blend(unsigned colour, unsigned background, unsigned alpha) {
  return static_cast<std::uint8_t>((colour * alpha + (255 - alpha) * background + 255) >> 8);
}

}  // namespace

namespace plain {

void BlendBgra(const std::uint8_t* bgra, const std::uint8_t* background, std::uint8_t* out, std::size_t width) {
  for (std::size_t x = 0; x < width; ++x) {
    const unsigned alpha = bgra[4 * x + 3];
    const std::uint8_t blue = Blend(bgra[4 * x], background[3 * x], alpha);
    const std::uint8_t green = Blend(bgra[4 * x + 1], background[3 * x + 1], alpha);
    const std::uint8_t red = Blend(bgra[4 * x + 2], background[3 * x + 2], alpha);
    out[3 * x] = blue, out[3 * x + 1] = green, out[3 * x + 2] = red;
  }
}

void BlendToColours(const std::uint8_t* rgba, const std::uint32_t* background, std::size_t width,
                    std::uint32_t* out) {
  for (std::size_t x = 0; x < width; ++x) {
    const std::uint8_t* pixel = rgba + 4 * x;
    const unsigned alpha = pixel[3];
    const std::uint32_t behind = background[x];
    out[x] = PackRgb(Blend(pixel[0], (behind >> 16) & 0xFF, alpha), Blend(pixel[1], (behind >> 8) & 0xFF, alpha),
                     Blend(pixel[2], behind & 0xFF, alpha));
  }
}

}  // namespace plain

namespace {

// A background picture wider or higher than the image (in twips) is narrowed
// to the image plus 100 twips.
void FitPictureToImage(PictureObject& picture, const ScreenMetrics& screen, std::int64_t width, std::int64_t height) {
  const double imageWidth = static_cast<double>(width) * screen.TwipsPerPixelX;
  const double imageHeight = static_cast<double>(height) * screen.TwipsPerPixelY;
  if (imageWidth < picture.Width()) picture.SetWidth(static_cast<std::int32_t>(std::nearbyint(imageWidth + 100)));
  if (imageHeight < picture.Height()) picture.SetHeight(static_cast<std::int32_t>(std::nearbyint(imageHeight + 100)));
}

}  // namespace

BackgroundRows::BackgroundRows(const Backdrop& backdrop, std::int64_t width, std::int64_t height,
                               std::vector<std::uint32_t>* storage)
    : width_(static_cast<std::size_t>(std::max<std::int64_t>(width, 0))) {
  if (backdrop.picture == nullptr) {
    plain_.assign(width_, PackRgb(RedOf(backdrop.colour), GreenOf(backdrop.colour), BlueOf(backdrop.colour)));
    return;
  }
  FitPictureToImage(*backdrop.picture, backdrop.screen, width, height);
  captured_ = backdrop.picture->Capture(backdrop.x, backdrop.y, static_cast<std::int32_t>(width),
                                        static_cast<std::int32_t>(height),
                                        storage != nullptr ? std::move(*storage) : std::vector<std::uint32_t>{});
  haveCapture_ = !captured_.Empty() &&
                 captured_.pixels.size() == width_ * static_cast<std::size_t>(std::max<std::int64_t>(height, 0));
  if (!haveCapture_) plain_.assign(width_, 0);
}

void BlendRgbaRowToColours(const std::uint8_t* rgba, const std::uint32_t* background, std::size_t width,
                           std::uint32_t* out) {
  Kernels().blendToColours(rgba, background, width, out);
}

void CompositeOnBackground(const Backdrop& backdrop, ByteBuffer& buffer, std::int64_t width,
                           std::int64_t height) {
  const std::int64_t stride = RowStride(width, 24);
  const auto outputLength = static_cast<std::size_t>(std::max<std::int64_t>(height * stride, 0));
  const auto rowPixels = static_cast<std::size_t>(std::max<std::int64_t>(width, 0));

  // The background of one row, turned into BGR bytes, bottom row first.
  std::vector<std::uint8_t> backgroundRow(static_cast<std::size_t>(std::max<std::int64_t>(stride, 0)), 0);
  const BackgroundRows background(backdrop, width, height);
  const BlendBgraKernel blend = Kernels().blendBgra;

  // Whole rows present in the buffer are blended in place: the output row y
  // starts at y * stride, never after its input at y * 4 * width.
  const std::size_t inputRowLength = 4 * rowPixels;
  const std::size_t rowsPresent = inputRowLength == 0 ? 0 : buffer.size() / inputRowLength;
  const std::size_t rowsBlended = std::min<std::size_t>(rowsPresent, static_cast<std::size_t>(std::max<std::int64_t>(height, 0)));
  const std::size_t pixelsPresent = buffer.size() / 4;
  if (buffer.size() < outputLength) buffer.resize(outputLength, 0);

  for (std::size_t y = 0; y < static_cast<std::size_t>(std::max<std::int64_t>(height, 0)); ++y) {
    // A row of background like the one before it (a plain window) is not converted again.
    const std::uint32_t* source = background.Row(height - 1 - static_cast<std::int64_t>(y));
    const std::uint32_t* before = y == 0 ? nullptr : background.Row(height - static_cast<std::int64_t>(y));
    if (before == nullptr || (source != before && !std::equal(source, source + rowPixels, before))) {
      for (std::size_t x = 0; x < rowPixels; ++x) {
        backgroundRow[3 * x] = static_cast<std::uint8_t>(source[x]);
        backgroundRow[3 * x + 1] = static_cast<std::uint8_t>(source[x] >> 8);
        backgroundRow[3 * x + 2] = static_cast<std::uint8_t>(source[x] >> 16);
      }
    }
    std::uint8_t* out = buffer.data() + y * static_cast<std::size_t>(stride);
    if (y < rowsBlended) {
      blend(buffer.data() + y * inputRowLength, backgroundRow.data(), out, rowPixels);
    } else {
      // A row cut short: its present pixels are blended, the rest stay zero.
      const std::size_t first = y * rowPixels;
      const std::size_t present = pixelsPresent > first ? std::min(rowPixels, pixelsPresent - first) : 0;
      std::vector<std::uint8_t> input(buffer.begin() + static_cast<std::ptrdiff_t>(4 * first),
                                      buffer.begin() + static_cast<std::ptrdiff_t>(4 * (first + present)));
      std::memset(out, 0, static_cast<std::size_t>(stride));
      blend(input.data(), backgroundRow.data(), out, present);
      continue;
    }
    std::memset(out + 3 * rowPixels, 0, static_cast<std::size_t>(stride) - 3 * rowPixels);
  }
  buffer.resize(outputLength);
}

}  // namespace zorv::png
