#include "window/picture_group.h"

#include "platform/run_time_error.h"
#include "window/picture_png_encoder.h"

namespace zorv {
namespace {

// Hex digits in lines of 128, as word processors write picture data.
void AppendHex(std::string& out, std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  constexpr std::size_t kBytesPerLine = 64;
  const std::size_t lines = (bytes.size() + kBytesPerLine - 1) / kBytesPerLine;
  std::size_t at = out.size();
  out.resize(at + bytes.size() * 2 + lines * 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i % kBytesPerLine == 0) {
      out[at++] = '\r';
      out[at++] = '\n';
    }
    out[at++] = kDigits[bytes[i] >> 4];
    out[at++] = kDigits[bytes[i] & 15];
  }
}

}  // namespace

std::string PictureGroup(const Image& picture, const ScreenMetrics& screen) {
  if (picture.Empty()) throw RunTimeError(ErrorCode::InvalidPicture);
  return PictureGroup(picture.width, picture.height, EncodePicturePng(picture), screen);
}

std::string PictureGroup(std::int32_t width, std::int32_t height, std::span<const std::uint8_t> png,
                         const ScreenMetrics& screen) {
  const auto goal = [](std::int32_t pixels, float twipsPerPixel) {
    return std::to_string(static_cast<std::int64_t>(pixels) * static_cast<std::int64_t>(twipsPerPixel + 0.5f));
  };
  std::string group = "{\\pict\\pngblip\\picw" + std::to_string(width) + "\\pich" + std::to_string(height) +
                      "\\picwgoal" + goal(width, screen.TwipsPerPixelX) + "\\pichgoal" +
                      goal(height, screen.TwipsPerPixelY);
  AppendHex(group, png);
  group += "}";
  return group;
}

}  // namespace zorv
