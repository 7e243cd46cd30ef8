#pragma once
// The file formats the tool writes, and their encoding from a canvas (all but
// JPEG, which goes through Qt in the command itself).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "canvas.h"

namespace zorv::pictures {

enum class PictureFormat {
  PngRgb,                 // 8-bit RGB
  PngRgba,                // 8-bit RGB with alpha
  PngRgb16,               // 16-bit RGB
  PngInterlacedRgb,       // 8-bit RGB, Adam7
  PngGrey,                // 8-bit grey
  PngGreyAlpha,           // 8-bit grey with alpha
  PngPalette,             // up to 256 colours
  PngPaletteTransparent,  // up to 256 colours, entry 0 transparent through tRNS
  PngPalette16,           // 4-bit indices
  PngPalette4,            // 2-bit indices
  Gif,                    // up to 256 colours, transparent index when needed
  Jpeg,
};

// ".png", ".gif" or ".jpg".
std::string_view Extension(PictureFormat format);

// The file for every format but Jpeg (error 5 for that one). PNG files carry
// the title as text, a comment and a fixed time stamp, so the same canvas
// always gives the same bytes.
std::vector<std::uint8_t> EncodePicture(const Canvas& canvas, PictureFormat format, const std::string& title);

// The canvas on an opaque background, for formats without alpha.
Canvas Flatten(const Canvas& canvas, Rgba background);

}  // namespace zorv::pictures
