#include "window/picture_group.h"

#include "platform/run_time_error.h"
#include "window/picture_png_encoder.h"

namespace zorv {
namespace {

// Hex digits in lines of 128, as word processors write picture data.
void AppendHex(std::string& out, const std::vector<std::uint8_t>& bytes) {
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
  const std::vector<std::uint8_t> png = EncodePicturePng(picture);
  const auto goal = [](std::int32_t pixels, float twipsPerPixel) {
    return std::to_string(static_cast<std::int64_t>(pixels) * static_cast<std::int64_t>(twipsPerPixel + 0.5f));
  };
  std::string group = "{\\pict\\pngblip\\picw" + std::to_string(picture.width) + "\\pich" + std::to_string(picture.height) +
                      "\\picwgoal" + goal(picture.width, screen.TwipsPerPixelX) + "\\pichgoal" +
                      goal(picture.height, screen.TwipsPerPixelY);
  AppendHex(group, png);
  group += "}";
  return group;
}

}  // namespace zorv
