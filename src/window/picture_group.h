#pragma once
// An RTF picture group for a picture at its pixel size: PNG data in hex, the
// pixel size and the size a word processor shows it at (twips).
#include <cstdint>
#include <span>
#include <string>

#include "platform/image.h"
#include "platform/screen_metrics.h"

namespace zorv {

// "{\pict\pngblip\picwW\pichH\picwgoalTW\pichgoalTH <hex>}"; no "}" before its
// own closing brace. Error 481 for a picture without pixels.
std::string PictureGroup(const Image& picture, const ScreenMetrics& screen);

// The same group for PNG data already made, of a picture of that pixel size.
std::string PictureGroup(std::int32_t width, std::int32_t height, std::span<const std::uint8_t> png,
                         const ScreenMetrics& screen);

}  // namespace zorv
