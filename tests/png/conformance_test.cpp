// Every PNG file of the test suites, decoded as the report window decodes it.
// Valid images give the pixels libpng gives, composited onto the same
// background, except where the decoder's own rules make them differ; broken
// files end as their table says, and none of them crashes.
#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <optional>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bitmap/cbitmap.h"
#include "platform/run_time_error.h"
#include "png/report_decode.h"
#include "support/silent_messages.h"

namespace zorv::png {
namespace {

namespace fs = std::filesystem;

const fs::path kData = ZORV_TEST_DATA_DIR;
constexpr Colour kBackground = MakeColour(0x33, 0x66, 0x99);

// The reference picture, decoded by libpng: samples reduced to their high byte,
// no gamma applied, transparency and alpha blended onto the background with
// the decoder's formula.
std::uint8_t Blend(unsigned colour, unsigned background, unsigned alpha) {
  return static_cast<std::uint8_t>((colour * alpha + (255 - alpha) * background + 255) >> 8);
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

void IgnoreWarning(png_structp, png_const_charp) {}

// Decodes to 8-bit RGBA rows; false when libpng fails.
bool ReadRgba(std::FILE* file, std::uint32_t& width, std::uint32_t& height, std::vector<std::uint8_t>& rgba) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, IgnoreWarning);
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
  png_init_io(png, file);
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  width = png_get_image_width(png, info);
  height = png_get_image_height(png, info);
  rgba.assign(static_cast<std::size_t>(width) * height * 4, 0);
  rows.resize(height);
  for (std::uint32_t y = 0; y < height; ++y) rows[y] = rgba.data() + static_cast<std::size_t>(y) * width * 4;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

// Nothing when libpng refuses the file.
std::optional<Image> LibpngPicture(const std::string& path, Colour background) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> rgba;
  if (!ReadRgba(file.get(), width, height, rgba)) return std::nullopt;
  Image picture(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    const std::uint8_t* p = &rgba[4 * i];
    picture.pixels[i] = PackRgb(Blend(p[0], RedOf(background), p[3]), Blend(p[1], GreenOf(background), p[3]),
                                Blend(p[2], BlueOf(background), p[3]));
  }
  return picture;
}

enum class Result { Drawn, ErrorNumber, Failure, BoxOnly, NothingDrawn, Differs };

struct Expected {
  Result result;
  int number;  // the ErrorNumber or the failure's number
  const char* why;
};


// Files that end otherwise than with libpng's pixels; a broken file not listed
// has a chunk that claims more bytes than the file holds.
std::map<std::string, Expected> Exceptions() {
  std::map<std::string, Expected> listed = {
      {"libpng-empty_ancillary_chunks.png", {Result::Failure, 9, "an empty tIME chunk: shorter than 7 bytes"}},
      {"xc1n0g08.png", {Result::NothingDrawn, 0, "colour type 1 is outside the conversion table"}},
      {"xc9n2c08.png", {Result::NothingDrawn, 0, "colour type 9 is outside the conversion table"}},
      {"xd0n2c08.png", {Result::BoxOnly, 0, "bit depth 0: RGB rows taken as 8-bit are missing, no bitmap"}},
      {"xd3n2c08.png", {Result::BoxOnly, 0, "bit depth 3: RGB rows taken as 8-bit are missing, no bitmap"}},
      {"xd9n2c08.png", {Result::Failure, 9, "bit depth 99: fewer rows than the header claims"}},
      {"xdtn0g01.png", {Result::ErrorNumber, 4, "no IDAT chunk"}},
      {"x_image-issue1075.png", {Result::ErrorNumber, 4, "IEND before any image data"}},
      {"x_unexpected_eof.png", {Result::ErrorNumber, 3, "the file ends without IEND"}}};
  const std::vector<std::pair<Expected, std::vector<const char*>>> groups = {
      {{Result::Differs, 0, "1-bit palette of one entry: a palette not of exactly two colours draws black and white"},
       {"s01n3p01.png", "s02n3p01.png"}},
      {{Result::Failure, 9, "a dynamic block's distance code does not fill its code space (a lone one-bit code); "
                            "the inflater refuses it and leaves the stream unexpanded, so the rows are missing"},
       {"circle-trns-after-plte.png", "circle-trns-before-plte.png", "sbit_g.png", "sbit_ga.png", "sbit_indexed.png",
        "sbit_rgb.png", "sbit_rgba.png"}},
      {{Result::ErrorNumber, 1, "a signature byte changed"},
       {"xcrn0g04.png", "xlfn0g04.png", "xs1n0g01.png", "xs2n0g01.png", "xs4n0g01.png", "xs7n0g01.png"}},
      {{Result::Drawn, 0, "CRCs and the Adler-32 are never checked; IDAT chunks apart are joined"},
       {"xcsn0g01.png", "xhdn0g08.png", "libpng-crashers-badadler.png", "libpng-crashers-badcrc.png",
        "x_consecutive_idat.png", "x_interlaced_chck.png"}}};
  for (const auto& [expected, names] : groups) {
    for (const char* name : names) listed.emplace(name, expected);
  }
  return listed;
}

std::vector<std::string> Files(const std::vector<fs::path>& folders, bool broken) {
  std::vector<std::string> files;
  for (const fs::path& folder : folders) {
    for (const auto& entry : fs::directory_iterator(kData / folder)) {
      const bool isBroken = folder == "png-extra/corrupt" || entry.path().filename().string()[0] == 'x';
      if (entry.path().extension() == ".png" && isBroken == broken) files.push_back((folder / entry.path().filename()).string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

struct Decoded {
  Result result = Result::NothingDrawn;
  int number = 0;
  Image picture;
};

Decoded Decode(const std::string& path) {
  static const ScreenMetrics screen;
  static bitmap::CBitmap bitmaps(screen);  // shared by every decoder, as in the program
  zorv::testing::SilentMessages messages;
  LoadPNG decoder(bitmaps, messages);
  PictureBox box(screen);
  PlainColourPicture background(kBackground);
  Decoded decoded;
  try {
    SetUpForReport(decoder, box, background).OpenPNG(path);
    if (decoder.ErrorNumber() != 0) {
      decoded.result = Result::ErrorNumber;
      decoded.number = decoder.ErrorNumber();
    } else if (!box.Picture().Empty()) {
      decoded.result = bitmaps.LastDrawCopiedBitmap() ? Result::Drawn : Result::BoxOnly;
    }
  } catch (const std::exception& failure) {
    decoded.result = Result::Failure;
    decoded.number = ErrorNumberOf(failure);
  }
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

TEST_P(Conformance, AsLibpngOrAsListed) {
  const std::string path = (kData / GetParam()).string();
  static const std::map<std::string, Expected> exceptions = Exceptions();
  const auto listed = exceptions.find(fs::path(path).filename().string());
  const Expected expected = listed != exceptions.end() ? listed->second
                            : GetParam().find("corrupt/") != std::string::npos
                                ? Expected{Result::ErrorNumber, 3, "a chunk claims more bytes than the file holds"}
                                : Expected{Result::Drawn, 0, ""};
  const Decoded decoded = Decode(path);
  const bool differs = expected.result == Result::Differs;
  EXPECT_EQ(static_cast<int>(decoded.result), static_cast<int>(differs ? Result::Drawn : expected.result)) << expected.why;
  EXPECT_EQ(decoded.number, expected.number) << expected.why;
  if (expected.result != Result::Drawn && !differs) return;
  const auto reference = LibpngPicture(path, kBackground);
  ASSERT_TRUE(reference || expected.why[0] != '\0') << "libpng refuses it";
  if (!reference) return;
  EXPECT_EQ(DifferingPixels(decoded.picture, *reference) != 0, differs) << expected.why;
}

INSTANTIATE_TEST_SUITE_P(Valid, Conformance,
                         ::testing::ValuesIn(Files({"pngsuite", "png-extra/valid", "png-extra/valid/testpngs",
                                                    "png-extra/tolerant"}, false)));
INSTANTIATE_TEST_SUITE_P(Broken, Conformance, ::testing::ValuesIn(Files({"pngsuite", "png-extra/corrupt"}, true)));

}  // namespace
}  // namespace zorv::png
