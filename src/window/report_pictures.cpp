#include "window/report_pictures.h"

#include "platform/run_time_error.h"
#include "png/report_decode.h"
#include "startup/basic_text.h"
#include "startup/error_log.h"
#include "startup/picture_archives.h"
#include "window/picture_group.h"

namespace zorv {
namespace {

// The scratch box's design size, in twips, before any picture is loaded.
constexpr std::int32_t kDesignSize = 255;

}  // namespace

ReportPictures::ReportPictures(SharedState& state, const ScreenMetrics& screen, PictureLoader& loader, PictureObject& window,
                               MessageBox& messages, std::function<bool()> letEventsRun)
    : state_(state),
      screen_(screen),
      loader_(loader),
      window_(window),
      messages_(messages),
      letEventsRun_(std::move(letEventsRun)),
      bitmaps_(screen_),
      picture1_(screen_, &container_) {
  picture1_.SetWidth(kDesignSize);
  picture1_.SetHeight(kDesignSize);
  picture1_.Cls();
  picture1_.SetPicture(picture1_.Image());
}

void ReportPictures::LoadPictureFile(const std::string& path) {
  try {
    const std::string_view ending = path.size() >= 4 ? std::string_view(path).substr(path.size() - 4) : "";
    const bool png = LowerCase(ending) == ".png";
    if (IsArchivePicture(path)) {
      // Out of an archive, the same decoders from memory.
      const auto file = ReadArchivePicture(path, letEventsRun_);
      if (!file) return;
      png ? LoadPngBytes(*file) : LoadOtherPicture(loader_.LoadBytes(*file));
    } else {
      png ? LoadPng(path) : LoadOtherPicture(loader_.Load(path));
    }
  } catch (const std::exception& failure) {
    LogError(state_, 'F', ErrorNumberOf(failure));
  }
}

png::LoadPNG& ReportPictures::PreparedDecoder() {
  if (!loadPng_) loadPng_ = std::make_unique<png::LoadPNG>(bitmaps_, messages_);
  return png::SetUpForReport(*loadPng_, picture1_, window_);
}

void ReportPictures::LoadPng(const std::string& path) { PreparedDecoder().OpenPNG(path); }

void ReportPictures::LoadPngBytes(std::span<const char> file) {
  PreparedDecoder().OpenPNGBytes({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
}

// The box takes the picture's own size.
void ReportPictures::LoadOtherPicture(Image picture) {
  const std::int32_t twipsX = WholeTwipsPerPixel(screen_.TwipsPerPixelX);
  const std::int32_t twipsY = WholeTwipsPerPixel(screen_.TwipsPerPixelY);
  picture1_.SetWidth(picture.width * twipsX);
  picture1_.SetHeight(picture.height * twipsY);
  picture1_.Cls();
  picture1_.StretchCopy(picture, 0, 0, picture.width, picture.height, 0, 0, picture.width, picture.height);
  picture1_.SetPicture(std::move(picture));
}

std::string ReportPictures::PictureToRtf() {
  try {
    return PictureGroup(picture1_.Image(), screen_);
  } catch (const std::exception& failure) {
    LogError(state_, 'I', ErrorNumberOf(failure));
    return {};
  }
}

}  // namespace zorv
