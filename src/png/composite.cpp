#include "png/composite.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "png/pixel_format.h"

namespace zorv::png {
namespace {

std::uint8_t Blend(unsigned colour, unsigned background, unsigned alpha) {
  return static_cast<std::uint8_t>((colour * alpha + (255 - alpha) * background + 255) >> 8);
}

// Blends one row of BGRA pixels onto a row of BGR background pixels; `out` may
// be the input itself, as it never runs ahead of it. The blend keeps an opaque
// pixel's colour and a transparent pixel's background exactly, (C * 255 + 255)
// >> 8 being C, so every pixel takes it without a branch.
void BlendRow(const std::uint8_t* in, const std::uint8_t* background, std::uint8_t* out, std::int64_t width) {
  for (std::int64_t x = 0; x < width; ++x, in += 4, background += 3, out += 3) {
    const unsigned alpha = in[3];
    const std::uint8_t blue = Blend(in[0], background[0], alpha);
    const std::uint8_t green = Blend(in[1], background[1], alpha);
    const std::uint8_t red = Blend(in[2], background[2], alpha);
    out[0] = blue, out[1] = green, out[2] = red;
  }
}

// A background picture wider or higher than the image (in twips) is narrowed
// to the image plus 100 twips.
void FitPictureToImage(PictureObject& picture, const ScreenMetrics& screen, std::int64_t width, std::int64_t height) {
  const double imageWidth = static_cast<double>(width) * screen.TwipsPerPixelX;
  const double imageHeight = static_cast<double>(height) * screen.TwipsPerPixelY;
  if (imageWidth < picture.Width()) picture.SetWidth(static_cast<std::int32_t>(std::nearbyint(imageWidth + 100)));
  if (imageHeight < picture.Height()) picture.SetHeight(static_cast<std::int32_t>(std::nearbyint(imageHeight + 100)));
}

}  // namespace

void FillColour(std::span<std::uint8_t> buffer, Colour colour, std::int64_t stride) {
  const auto red = static_cast<std::uint8_t>(RedOf(colour));
  const auto green = static_cast<std::uint8_t>(GreenOf(colour));
  const auto blue = static_cast<std::uint8_t>(BlueOf(colour));
  if (red == green && green == blue) {
    std::fill(buffer.begin(), buffer.end(), red);
    return;
  }
  if (stride <= 0) return;
  for (std::size_t rowStart = 0; rowStart < buffer.size(); rowStart += static_cast<std::size_t>(stride)) {
    const std::size_t rowEnd = std::min(buffer.size(), rowStart + static_cast<std::size_t>(stride));
    for (std::size_t at = rowStart; at + 3 <= rowEnd; at += 3) {
      buffer[at] = blue;
      buffer[at + 1] = green;
      buffer[at + 2] = red;
    }
  }
}

void CompositeOnBackground(const Backdrop& backdrop, ByteBuffer& buffer, std::int64_t width,
                           std::int64_t height) {
  const std::int64_t stride = RowStride(width, 24);
  const auto outputLength = static_cast<std::size_t>(std::max<std::int64_t>(height * stride, 0));
  const auto rowPixels = static_cast<std::size_t>(std::max<std::int64_t>(width, 0));

  // The background of one row: the plain colour is the same for every row; a
  // picture's capture is turned into BGR rows one at a time, bottom row first.
  std::vector<std::uint8_t> backgroundRow(static_cast<std::size_t>(std::max<std::int64_t>(stride, 0)), 0);
  Image captured;
  if (backdrop.picture == nullptr) {
    FillColour(backgroundRow, backdrop.colour, stride);
  } else {
    FitPictureToImage(*backdrop.picture, backdrop.screen, width, height);
    captured = backdrop.picture->Capture(backdrop.x, backdrop.y, static_cast<std::int32_t>(width),
                                         static_cast<std::int32_t>(height));
  }

  // A capture of another size than asked for is no background at all.
  const bool haveCapture = !captured.Empty() && captured.pixels.size() == rowPixels * static_cast<std::size_t>(height);

  // Whole rows present in the buffer are blended in place: the output row y
  // starts at y * stride, never after its input at y * 4 * width.
  const std::size_t inputRowLength = 4 * rowPixels;
  const std::size_t rowsPresent = inputRowLength == 0 ? 0 : buffer.size() / inputRowLength;
  const std::size_t rowsBlended = std::min<std::size_t>(rowsPresent, static_cast<std::size_t>(std::max<std::int64_t>(height, 0)));
  const std::size_t pixelsPresent = buffer.size() / 4;
  if (buffer.size() < outputLength) buffer.resize(outputLength, 0);

  for (std::size_t y = 0; y < static_cast<std::size_t>(std::max<std::int64_t>(height, 0)); ++y) {
    // A row of the capture like the one before it (a plain window) is not converted again.
    const std::uint32_t* source =
        haveCapture ? &captured.pixels[(static_cast<std::size_t>(height) - 1 - y) * rowPixels] : nullptr;
    if (haveCapture && (y == 0 || !std::equal(source, source + rowPixels, source + rowPixels))) {
      for (std::size_t x = 0; x < rowPixels; ++x) {
        backgroundRow[3 * x] = static_cast<std::uint8_t>(source[x]);
        backgroundRow[3 * x + 1] = static_cast<std::uint8_t>(source[x] >> 8);
        backgroundRow[3 * x + 2] = static_cast<std::uint8_t>(source[x] >> 16);
      }
    }
    std::uint8_t* out = buffer.data() + y * static_cast<std::size_t>(stride);
    if (y < rowsBlended) {
      BlendRow(buffer.data() + y * inputRowLength, backgroundRow.data(), out, width);
    } else {
      // A row cut short: its present pixels are blended, the rest stay zero.
      const std::size_t first = y * rowPixels;
      const std::size_t present = pixelsPresent > first ? std::min(rowPixels, pixelsPresent - first) : 0;
      std::vector<std::uint8_t> input(buffer.begin() + static_cast<std::ptrdiff_t>(4 * first),
                                      buffer.begin() + static_cast<std::ptrdiff_t>(4 * (first + present)));
      std::memset(out, 0, static_cast<std::size_t>(stride));
      BlendRow(input.data(), backgroundRow.data(), out, static_cast<std::int64_t>(present));
      continue;
    }
    std::memset(out + 3 * rowPixels, 0, static_cast<std::size_t>(stride) - 3 * rowPixels);
  }
  buffer.resize(outputLength);
}

}  // namespace zorv::png
