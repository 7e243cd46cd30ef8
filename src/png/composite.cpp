#include "png/composite.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "png/pixel_format.h"

namespace zorv::png {
namespace {

std::uint8_t Blend(unsigned colour, unsigned background, unsigned alpha) {
  return static_cast<std::uint8_t>((colour * alpha + (255 - alpha) * background + 255) >> 8);
}

// The blend keeps an opaque pixel's colour and a transparent pixel's background
// exactly, (C * 255 + 255) >> 8 being C, so every pixel takes it without a branch.
void BlendPixels(const std::uint8_t* in, const std::uint8_t* background, std::uint8_t* out, std::int64_t from,
                 std::int64_t width) {
  for (std::int64_t x = from; x < width; ++x) {
    const unsigned alpha = in[4 * x + 3];
    const std::uint8_t blue = Blend(in[4 * x], background[3 * x], alpha);
    const std::uint8_t green = Blend(in[4 * x + 1], background[3 * x + 1], alpha);
    const std::uint8_t red = Blend(in[4 * x + 2], background[3 * x + 2], alpha);
    out[3 * x] = blue, out[3 * x + 1] = green, out[3 * x + 2] = red;
  }
}

#if defined(__x86_64__) && defined(__GNUC__)
// Two pixels in 16-bit lanes, each lane blended with its pixel's alpha.
[[gnu::target("ssse3")]] inline __m128i BlendLanes(__m128i colour, __m128i behind, __m128i full) {
  const __m128i spreadAlpha = _mm_setr_epi8(6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15);
  const __m128i alpha = _mm_shuffle_epi8(colour, spreadAlpha);
  const __m128i sum = _mm_add_epi16(_mm_mullo_epi16(colour, alpha), _mm_mullo_epi16(behind, _mm_sub_epi16(full, alpha)));
  return _mm_srli_epi16(_mm_add_epi16(sum, full), 8);
}

// Four pixels a step in 16-bit lanes (SSSE3, chosen at run time). A step reads
// 16 bytes of background and writes 16 bytes of output (12 of them pixels), so
// it stops six pixels before the row's end and leaves the rest to BlendPixels.
[[gnu::target("ssse3")]] std::int64_t BlendPixelsSsse3(const std::uint8_t* in, const std::uint8_t* background,
                                                       std::uint8_t* out, std::int64_t width) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i full = _mm_set1_epi16(255);
  const __m128i spreadBackground = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m128i packPixels = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  std::int64_t x = 0;
  for (; x + 6 <= width; x += 4) {
    const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * x));
    const __m128i behind =
        _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(background + 3 * x)), spreadBackground);
    const __m128i low = BlendLanes(_mm_unpacklo_epi8(pixels, zero), _mm_unpacklo_epi8(behind, zero), full);
    const __m128i high = BlendLanes(_mm_unpackhi_epi8(pixels, zero), _mm_unpackhi_epi8(behind, zero), full);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x), _mm_shuffle_epi8(_mm_packus_epi16(low, high), packPixels));
  }
  return x;
}

// Four RGBA pixels a step onto four background colours (SSSE3, chosen at run time).
[[gnu::target("ssse3")]] std::size_t BlendToColoursSsse3(const std::uint8_t* rgba, const std::uint32_t* background,
                                                         std::size_t width, std::uint32_t* out) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i full = _mm_set1_epi16(255);
  const __m128i blueFirst = _mm_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
  const __m128i colourBytes = _mm_set1_epi32(0x00FFFFFF);
  std::size_t x = 0;
  for (; x + 4 <= width; x += 4) {
    const __m128i pixels =
        _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(rgba + 4 * x)), blueFirst);
    const __m128i behind = _mm_loadu_si128(reinterpret_cast<const __m128i*>(background + x));
    const __m128i low = BlendLanes(_mm_unpacklo_epi8(pixels, zero), _mm_unpacklo_epi8(behind, zero), full);
    const __m128i high = BlendLanes(_mm_unpackhi_epi8(pixels, zero), _mm_unpackhi_epi8(behind, zero), full);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_and_si128(_mm_packus_epi16(low, high), colourBytes));
  }
  return x;
}
#endif

// BlendLanes on four pixels, two in each half of the register.
[[gnu::target("avx2")]] inline __m256i BlendLanesAvx2(__m256i colour, __m256i behind, __m256i full) {
  const __m256i spreadAlpha = _mm256_setr_epi8(6, 7, 6, 7, 6, 7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15, 6, 7, 6, 7, 6,
                                               7, 6, 7, 14, 15, 14, 15, 14, 15, 14, 15);
  const __m256i alpha = _mm256_shuffle_epi8(colour, spreadAlpha);
  const __m256i sum =
      _mm256_add_epi16(_mm256_mullo_epi16(colour, alpha), _mm256_mullo_epi16(behind, _mm256_sub_epi16(full, alpha)));
  return _mm256_srli_epi16(_mm256_add_epi16(sum, full), 8);
}

// Eight RGBA pixels a step onto eight background colours (AVX2, chosen at run
// time); the same lanes as BlendToColoursSsse3 in each half of the register.
[[gnu::target("avx2")]] std::size_t BlendToColoursAvx2(const std::uint8_t* rgba, const std::uint32_t* background,
                                                       std::size_t width, std::uint32_t* out) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i full = _mm256_set1_epi16(255);
  const __m256i blueFirst = _mm256_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15, 2, 1, 0, 3, 6, 5,
                                             4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
  const __m256i colourBytes = _mm256_set1_epi32(0x00FFFFFF);
  std::size_t x = 0;
  for (; x + 8 <= width; x += 8) {
    const __m256i pixels =
        _mm256_shuffle_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(rgba + 4 * x)), blueFirst);
    const __m256i behind = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(background + x));
    const __m256i low = BlendLanesAvx2(_mm256_unpacklo_epi8(pixels, zero), _mm256_unpacklo_epi8(behind, zero), full);
    const __m256i high = BlendLanesAvx2(_mm256_unpackhi_epi8(pixels, zero), _mm256_unpackhi_epi8(behind, zero), full);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x),
                        _mm256_and_si256(_mm256_packus_epi16(low, high), colourBytes));
  }
  return x;
}

// Blends one row of BGRA pixels onto a row of BGR background pixels; `out` may
// be the input itself, as it never runs ahead of what is still to be read.
void BlendRow(const std::uint8_t* in, const std::uint8_t* background, std::uint8_t* out, std::int64_t width) {
  std::int64_t done = 0;
#if defined(__x86_64__) && defined(__GNUC__)
  static const bool hasSsse3 = __builtin_cpu_supports("ssse3");
  if (hasSsse3) done = BlendPixelsSsse3(in, background, out, width);
#endif
  BlendPixels(in, background, out, done, width);
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

BackgroundRows::BackgroundRows(const Backdrop& backdrop, std::int64_t width, std::int64_t height)
    : width_(static_cast<std::size_t>(std::max<std::int64_t>(width, 0))) {
  if (backdrop.picture == nullptr) {
    plain_.assign(width_, PackRgb(RedOf(backdrop.colour), GreenOf(backdrop.colour), BlueOf(backdrop.colour)));
    return;
  }
  FitPictureToImage(*backdrop.picture, backdrop.screen, width, height);
  captured_ = backdrop.picture->Capture(backdrop.x, backdrop.y, static_cast<std::int32_t>(width),
                                        static_cast<std::int32_t>(height));
  haveCapture_ = !captured_.Empty() &&
                 captured_.pixels.size() == width_ * static_cast<std::size_t>(std::max<std::int64_t>(height, 0));
  if (!haveCapture_) plain_.assign(width_, 0);
}

void BlendRgbaRowToColours(const std::uint8_t* rgba, const std::uint32_t* background, std::size_t width,
                           std::uint32_t* out) {
  std::size_t x = 0;
#if defined(__x86_64__) && defined(__GNUC__)
  static const bool hasAvx2 = __builtin_cpu_supports("avx2");
  static const bool hasSsse3 = __builtin_cpu_supports("ssse3");
  if (hasAvx2) x = BlendToColoursAvx2(rgba, background, width, out);
  if (hasSsse3) x += BlendToColoursSsse3(rgba + 4 * x, background + x, width - x, out + x);
#endif
  for (; x < width; ++x) {
    const std::uint8_t* pixel = rgba + 4 * x;
    const unsigned alpha = pixel[3];
    const std::uint32_t behind = background[x];
    out[x] = PackRgb(Blend(pixel[0], (behind >> 16) & 0xFF, alpha), Blend(pixel[1], (behind >> 8) & 0xFF, alpha),
                     Blend(pixel[2], behind & 0xFF, alpha));
  }
}

void CompositeOnBackground(const Backdrop& backdrop, ByteBuffer& buffer, std::int64_t width,
                           std::int64_t height) {
  const std::int64_t stride = RowStride(width, 24);
  const auto outputLength = static_cast<std::size_t>(std::max<std::int64_t>(height * stride, 0));
  const auto rowPixels = static_cast<std::size_t>(std::max<std::int64_t>(width, 0));

  // The background of one row, turned into BGR bytes, bottom row first.
  std::vector<std::uint8_t> backgroundRow(static_cast<std::size_t>(std::max<std::int64_t>(stride, 0)), 0);
  const BackgroundRows background(backdrop, width, height);

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
