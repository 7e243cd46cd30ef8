// Every valid image of the PNG test suites decodes to the pixels libpng gives,
// except where the decoder's own rules make it differ (the table below).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bitmap/cbitmap.h"
#include "libpng_reference.h"
#include "platform/run_time_error.h"
#include "png/report_decode.h"

namespace zorv::png {
namespace {

namespace fs = std::filesystem;

const fs::path kData = ZORV_TEST_DATA_DIR;
constexpr Colour kBackground = MakeColour(0x33, 0x66, 0x99);

// Images whose result differs from libpng's on purpose: a failure number when
// the decoder stops (0: it draws other pixels), and why.
struct Difference {
  int failure;
  const char* reason;
};
constexpr const char* kIncompleteCode =
    "a dynamic block's distance code does not fill its code space (a lone one-bit code); the inflater refuses "
    "such codes, shows its message and leaves the stream unexpanded, so the rows are missing";
const std::map<std::string, Difference> kDeliberateDifferences = {
    {"s01n3p01.png", {0, "1-bit palette of one entry: a palette that is not exactly two colours draws black and white"}},
    {"s02n3p01.png", {0, "1-bit palette of one entry: a palette that is not exactly two colours draws black and white"}},
    {"libpng-empty_ancillary_chunks.png", {9, "an empty tIME chunk: a time stamp shorter than 7 bytes is a failure"}},
    {"circle-trns-after-plte.png", {9, kIncompleteCode}},
    {"circle-trns-before-plte.png", {9, kIncompleteCode}},
    {"sbit_g.png", {9, kIncompleteCode}},
    {"sbit_ga.png", {9, kIncompleteCode}},
    {"sbit_indexed.png", {9, kIncompleteCode}},
    {"sbit_rgb.png", {9, kIncompleteCode}},
    {"sbit_rgba.png", {9, kIncompleteCode}},
};

class RecordedMessages final : public MessageBox {
 public:
  void Show(std::string_view message) override { shown.emplace_back(message); }
  std::vector<std::string> shown;
};

std::vector<std::string> ValidImages() {
  std::vector<std::string> files;
  for (const fs::path& folder : {kData / "pngsuite", kData / "png-extra/valid", kData / "png-extra/valid/testpngs",
                                kData / "png-extra/tolerant"}) {
    for (const auto& entry : fs::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (entry.path().extension() == ".png" && name[0] != 'x') files.push_back(fs::relative(entry.path(), kData).string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string TestName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

struct Decoded {
  Image picture;
  std::int32_t errorNumber = 0;
  int failure = 0;
};

Decoded DecodeWithLoadPng(const std::string& path) {
  static const ScreenMetrics screen;
  static bitmap::CBitmap bitmaps(screen);  // shared by every decoder, as in the program
  RecordedMessages messages;
  LoadPNG decoder(bitmaps, messages);
  PictureBox box(screen);
  PlainColourPicture background(kBackground);
  Decoded decoded;
  try {
    DecodeForReport(decoder, box, background, path);
  } catch (const std::exception& failure) {
    decoded.failure = ErrorNumberOf(failure);
  }
  decoded.errorNumber = decoder.ErrorNumber();
  decoded.picture = box.Picture();
  return decoded;
}

std::size_t DifferingPixels(const Image& ours, const Image& reference) {
  if (ours.width != reference.width || ours.height != reference.height) return ours.pixels.size() + 1;
  std::size_t differing = 0;
  for (std::size_t i = 0; i < ours.pixels.size(); ++i) differing += ours.pixels[i] != reference.pixels[i];
  return differing;
}

class Conformance : public ::testing::TestWithParam<std::string> {};

TEST_P(Conformance, SamePixelsAsLibpng) {
  const std::string path = (kData / GetParam()).string();
  const auto reference = testing::LibpngPicture(path, kBackground);
  ASSERT_TRUE(reference) << "libpng refuses it";
  const Decoded decoded = DecodeWithLoadPng(path);
  EXPECT_EQ(decoded.errorNumber, 0);
  const auto deliberate = kDeliberateDifferences.find(fs::path(path).filename().string());
  if (deliberate == kDeliberateDifferences.end()) {
    ASSERT_EQ(decoded.failure, 0);
    EXPECT_EQ(DifferingPixels(decoded.picture, *reference), 0U) << "of " << reference->pixels.size() << " pixels";
  } else if (deliberate->second.failure != 0) {
    EXPECT_EQ(decoded.failure, deliberate->second.failure) << deliberate->second.reason;
  } else {
    ASSERT_EQ(decoded.failure, 0);
    EXPECT_NE(DifferingPixels(decoded.picture, *reference), 0U) << "listed as differing: " << deliberate->second.reason;
  }
}

INSTANTIATE_TEST_SUITE_P(PngSuites, Conformance, ::testing::ValuesIn(ValidImages()), TestName);

}  // namespace
}  // namespace zorv::png
