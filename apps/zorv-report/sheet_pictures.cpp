#include "sheet_pictures.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "window/picture_group.h"

namespace zorv {
namespace {

// A referenced picture's data: this mark and the number of its file.
constexpr std::array<std::uint8_t, 4> kMark = {'Z', 'R', 'V', '#'};

}  // namespace

std::string_view PictureWord(std::size_t category, std::int32_t language) {
  static constexpr std::string_view kEnglish[] = {"Picture", "Title screen", "Snapshot", "Marquee",
                                                  "Cabinet", "Control panel", "Flyer"};
  static constexpr std::string_view kFrench[] = {"Image", "\xc9" "cran titre", "Capture", "Marquee",
                                                 "Borne", "Panneau de commande", "Flyer"};
  if (category >= std::size(kEnglish)) category = 0;
  return language == 0 ? kFrench[category] : kEnglish[category];
}

std::string FileNameOf(const ShownFile& file) {
  const std::size_t last = file.path.find_last_of("\\/|");
  return last == std::string::npos ? file.path : file.path.substr(last + 1);
}

SheetPictures::SheetPictures(const SharedState& state, ReportPictures& pictures, const ScreenMetrics& screen,
                             bool linked)
    : state_(state), pictures_(pictures), screen_(screen), linked_(linked) {}

void SheetPictures::LoadPictureFile(const std::string& path) {
  // Files come in the order of their categories, each from its ImagePath.
  for (std::size_t i = category_ + 1; i < state_.ImagePath.size(); ++i) {
    if (state_.ImagePath[i] == path) {
      category_ = i;
      break;
    }
  }
  const std::uint64_t before = pictures_.Picture1().Revision();
  pictures_.LoadPictureFile(path);
  if (pictures_.Picture1().Revision() != before) inBox_ = ShownFile{category_, path};
}

std::string SheetPictures::PictureToRtf() {
  // The box's own picture until a file has been drawn into it.
  if (!linked_ || !inBox_) return pictures_.PictureToRtf();
  const auto number = static_cast<std::uint32_t>(referenced_.size());
  referenced_.push_back(*inBox_);
  std::vector<std::uint8_t> data(kMark.begin(), kMark.end());
  for (int shift = 24; shift >= 0; shift -= 8) data.push_back(static_cast<std::uint8_t>(number >> shift));
  const PictureBox& box = pictures_.Picture1();
  return PictureGroup(box.InnerPixelWidth(), box.InnerPixelHeight(), data, screen_);
}

const ShownFile* SheetPictures::FileOf(const richtext::Picture& picture) const {
  const auto& data = picture.data;
  if (data.size() != kMark.size() + 4 || !std::equal(kMark.begin(), kMark.end(), data.begin())) return nullptr;
  std::uint32_t number = 0;
  for (std::size_t i = kMark.size(); i < data.size(); ++i) number = number << 8 | data[i];
  return number < referenced_.size() ? &referenced_[number] : nullptr;
}

}  // namespace zorv
