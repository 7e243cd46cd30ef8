#include "picture_formats.h"

#include "gif_writer.h"
#include "palette_reduction.h"
#include "platform/run_time_error.h"
#include "png/png_writer.h"

namespace zorv::pictures {
namespace {

using png::PngColourType;
using png::PngImage;

constexpr Rgba kFlattenOnto{0, 0, 0, 255};

PngImage BaseImage(const Canvas& canvas, PngColourType type, std::uint8_t depth, const std::string& title) {
  PngImage image;
  image.width = static_cast<std::uint32_t>(canvas.Width());
  image.height = static_cast<std::uint32_t>(canvas.Height());
  image.colourType = type;
  image.bitDepth = depth;
  image.texts = {{"Title", title, false},
                 {"Comment", "Original artwork drawn from code for the Zorvane demo collection.", true}};
  image.modified = png::PngTime{2024, 6, 1, 12, 0, 0};
  return image;
}

std::uint8_t Luma(const Rgba& p) { return static_cast<std::uint8_t>((p.r * 299 + p.g * 587 + p.b * 114 + 500) / 1000); }

PngImage DirectColour(const Canvas& source, PictureFormat format, const std::string& title) {
  const bool alpha = format == PictureFormat::PngRgba || format == PictureFormat::PngGreyAlpha;
  const bool grey = format == PictureFormat::PngGrey || format == PictureFormat::PngGreyAlpha;
  const bool wide = format == PictureFormat::PngRgb16;
  const Canvas canvas = alpha ? source : Flatten(source, kFlattenOnto);
  const PngColourType type = grey ? (alpha ? PngColourType::GreyAlpha : PngColourType::Grey)
                                  : (alpha ? PngColourType::Rgba : PngColourType::Rgb);
  PngImage image = BaseImage(canvas, type, wide ? 16 : 8, title);
  image.interlaced = format == PictureFormat::PngInterlacedRgb;
  for (const Rgba& p : canvas.Pixels()) {
    auto put = [&](std::uint8_t v) {
      image.samples.push_back(v);
      if (wide) image.samples.push_back(v);  // v × 257: the full 16-bit range
    };
    if (grey) {
      put(Luma(p));
    } else {
      put(p.r);
      put(p.g);
      put(p.b);
    }
    if (alpha) put(p.a);
  }
  if (alpha) image.background = grey ? std::vector<std::uint8_t>{0, 0} : std::vector<std::uint8_t>(6, 0);
  return image;
}

PngImage PaletteColour(const Canvas& canvas, PictureFormat format, const std::string& title) {
  const std::uint8_t depth = format == PictureFormat::PngPalette16 ? 4 : format == PictureFormat::PngPalette4 ? 2 : 8;
  const IndexedImage indexed = ReduceToPalette(
      format == PictureFormat::PngPaletteTransparent ? canvas : Flatten(canvas, kFlattenOnto), 1 << depth);
  PngImage image = BaseImage(canvas, PngColourType::Palette, depth, title);
  image.palette = indexed.palette;
  const std::size_t rowBytes = png::PngRowBytes(image.width, image.colourType, depth);
  image.samples.assign(rowBytes * image.height, 0);
  const int perByte = 8 / depth;
  for (std::size_t y = 0; y < image.height; ++y)
    for (std::size_t x = 0; x < image.width; ++x) {
      const std::uint8_t index = indexed.indices[y * image.width + x];
      const int shift = 8 - depth * (1 + static_cast<int>(x % perByte));
      image.samples[y * rowBytes + x / perByte] |= static_cast<std::uint8_t>(index << shift);
    }
  if (indexed.transparentIndex) {
    image.transparency = std::vector<std::uint8_t>{0};  // entry 0 clear, the others opaque
    image.background = std::vector<std::uint8_t>{1};
  }
  return image;
}

}  // namespace

std::string_view Extension(PictureFormat format) {
  switch (format) {
    case PictureFormat::Gif: return ".gif";
    case PictureFormat::Jpeg: return ".jpg";
    default: return ".png";
  }
}

Canvas Flatten(const Canvas& canvas, Rgba background) {
  Canvas flat(canvas.Width(), canvas.Height(), background);
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) flat.Blend(x, y, canvas.At(x, y));
  return flat;
}

std::vector<std::uint8_t> EncodePicture(const Canvas& canvas, PictureFormat format, const std::string& title) {
  switch (format) {
    case PictureFormat::Jpeg: throw RunTimeError(ErrorCode::InvalidArgument);
    case PictureFormat::Gif: return EncodeGif(ReduceToPalette(canvas, 256));
    case PictureFormat::PngPalette:
    case PictureFormat::PngPaletteTransparent:
    case PictureFormat::PngPalette16:
    case PictureFormat::PngPalette4: return png::EncodePng(PaletteColour(canvas, format, title), png::kBestCompression);
    default: return png::EncodePng(DirectColour(canvas, format, title), png::kBestCompression);
  }
}

}  // namespace zorv::pictures
