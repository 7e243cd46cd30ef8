#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "artwork.h"
#include "libpng_reference.h"
#include "palette_reduction.h"
#include "picture_formats.h"
#include "picture_plan.h"
#include "pixel_font.h"
#include "stb_image_reference.h"

namespace zorv::pictures {
namespace {

constexpr Rgba kRed{200, 30, 40, 255}, kGreen{20, 180, 60, 255}, kBlue{10, 40, 220, 255}, kCream{250, 240, 200, 255};
constexpr Rgba kBlack{0, 0, 0, 255};

// Four flat colours in quarters, a few pixels transparent: every format can hold
// it exactly, 2-bit palettes too, as the transparent pixels flatten to the black.
Canvas FourColourCanvas() {
  Canvas canvas(37, 23, kRed);
  canvas.FillRect(18, 0, 19, 11, kGreen);
  canvas.FillRect(0, 11, 18, 12, kBlue);
  canvas.FillRect(18, 11, 19, 12, kBlack);
  for (int x = 0; x < 3; ++x) canvas.Set(x, 0, Rgba{0, 0, 0, 0});
  return canvas;
}

// What a decoder should show for a pixel of the canvas in a format.
Rgba Expected(const Rgba& p, PictureFormat format) {
  const bool alpha = format == PictureFormat::PngRgba || format == PictureFormat::PngGreyAlpha ||
                     format == PictureFormat::PngPaletteTransparent || format == PictureFormat::Gif;
  Rgba shown = alpha ? p : (p.a == 0 ? Rgba{0, 0, 0, 255} : p);
  if (format == PictureFormat::PngGrey || format == PictureFormat::PngGreyAlpha) {
    const auto luma = static_cast<std::uint8_t>((shown.r * 299 + shown.g * 587 + shown.b * 114 + 500) / 1000);
    shown = {luma, luma, luma, shown.a};
  }
  if (shown.a == 0) shown = {0, 0, 0, 0};
  return shown;
}

// Every pixel of a decoded file as RGBA, through libpng's own expansion for PNG and stb_image for GIF.
std::vector<Rgba> DecodeToRgba(const std::vector<std::uint8_t>& file) {
  const auto decoded = testing::DecodeWithStbImage(file);
  std::vector<Rgba> pixels;
  if (!decoded) return pixels;
  for (std::size_t i = 0; i + 3 < decoded->rgba.size(); i += 4) {
    Rgba p{decoded->rgba[i], decoded->rgba[i + 1], decoded->rgba[i + 2], decoded->rgba[i + 3]};
    if (p.a == 0) p = {0, 0, 0, 0};
    pixels.push_back(p);
  }
  return pixels;
}

class PictureFormatTest : public ::testing::TestWithParam<PictureFormat> {};

TEST_P(PictureFormatTest, DecodersShowTheCanvas) {
  const Canvas canvas = FourColourCanvas();
  const auto file = EncodePicture(canvas, GetParam(), "TEST");
  if (Extension(GetParam()) == ".png") {
    png::PngImage read;
    std::string error;
    ASSERT_TRUE(testing::ReadWithLibpng(file, read, error)) << error;  // libpng checks every CRC
  }
  const auto pixels = DecodeToRgba(file);
  ASSERT_EQ(pixels.size(), canvas.Pixels().size());
  std::size_t wrong = 0;
  for (std::size_t i = 0; i < pixels.size(); ++i)
    if (!(pixels[i] == Expected(canvas.Pixels()[i], GetParam()))) ++wrong;
  EXPECT_EQ(wrong, 0u);
}

INSTANTIATE_TEST_SUITE_P(AllButJpeg, PictureFormatTest,
                         ::testing::Values(PictureFormat::PngRgb, PictureFormat::PngRgba, PictureFormat::PngRgb16,
                                           PictureFormat::PngInterlacedRgb, PictureFormat::PngGrey,
                                           PictureFormat::PngGreyAlpha, PictureFormat::PngPalette,
                                           PictureFormat::PngPaletteTransparent, PictureFormat::PngPalette16,
                                           PictureFormat::PngPalette4, PictureFormat::Gif));

TEST(PaletteReduction, KeepsFewColoursExactlyAndGivesTransparencyEntryZero) {
  const Canvas canvas = FourColourCanvas();
  const IndexedImage image = ReduceToPalette(canvas, 16);
  ASSERT_TRUE(image.transparentIndex.has_value());
  EXPECT_EQ(*image.transparentIndex, 0);
  EXPECT_EQ(image.palette.size(), 5u * 3);
  for (std::size_t i = 0; i < image.indices.size(); ++i) {
    const Rgba p = canvas.Pixels()[i];
    const std::size_t e = image.indices[i];
    if (p.a == 0) {
      EXPECT_EQ(e, 0u);
    } else {
      EXPECT_EQ((Rgba{image.palette[3 * e], image.palette[3 * e + 1], image.palette[3 * e + 2], 255}), p);
    }
  }
}

TEST(PaletteReduction, ManyColoursStayCloseWithinTheLimit) {
  Canvas canvas(256, 64);
  canvas.HorizontalGradient(0, 0, 256, 32, Rgba{0, 0, 0, 255}, Rgba{255, 128, 0, 255});
  canvas.HorizontalGradient(0, 32, 256, 32, Rgba{0, 255, 255, 255}, Rgba{0, 0, 255, 255});
  const IndexedImage image = ReduceToPalette(canvas, 16);
  EXPECT_LE(image.palette.size(), 16u * 3);
  int worst = 0;
  for (std::size_t i = 0; i < image.indices.size(); ++i) {
    const Rgba p = canvas.Pixels()[i];
    const std::size_t e = image.indices[i];
    worst = std::max({worst, std::abs(p.r - image.palette[3 * e]), std::abs(p.g - image.palette[3 * e + 1]),
                      std::abs(p.b - image.palette[3 * e + 2])});
  }
  EXPECT_LE(worst, 40);
}

TEST(PixelFont, LightsTheGlyphCellsAtScale) {
  Canvas canvas(20, 20, Rgba{0, 0, 0, 255});
  DrawText(canvas, 1, 1, "l", TextStyle{2, kCream});  // drawn as a capital L: one column and a foot
  EXPECT_EQ(canvas.At(1, 1), kCream);
  EXPECT_EQ(canvas.At(2, 13), kCream);
  EXPECT_EQ(canvas.At(10, 14), kCream);
  EXPECT_EQ(canvas.At(3, 1), (Rgba{0, 0, 0, 255}));
  EXPECT_EQ(TextWidth("AB", 3), 33);
  EXPECT_EQ(FittingScale("GHOST", 60, 9), 2);
}

TEST(Artwork, SameGameSamePicturesOtherGameOtherPictures) {
  for (Category category : kCategories) {
    const Canvas a = DrawPicture(ArtFor("gng"), category, 96, 64);
    const Canvas b = DrawPicture(ArtFor("gng"), category, 96, 64);
    const Canvas c = DrawPicture(ArtFor("nightclb"), category, 96, 64);
    EXPECT_TRUE(a.Pixels() == b.Pixels()) << FolderName(category);
    EXPECT_FALSE(a.Pixels() == c.Pixels()) << FolderName(category);
  }
  EXPECT_EQ(ArtFor("gng").title, "GRAVES N GARGOYLES");
  EXPECT_EQ(ArtFor("mygame").title, "MYGAME");
  EXPECT_EQ(ArtFor("gng", "Other title").title, "OTHER TITLE");
}

TEST(PicturePlan, GngCoversEveryPngVariantAndTheOtherFormats) {
  std::set<PictureFormat> formats;
  std::set<Category> categories;
  for (const auto& p : PlanFor("gng")) {
    formats.insert(p.format);
    categories.insert(p.category);
  }
  EXPECT_EQ(categories.size(), 6u);
  for (PictureFormat needed : {PictureFormat::PngRgba, PictureFormat::PngPaletteTransparent,
                               PictureFormat::PngInterlacedRgb, PictureFormat::PngRgb16, PictureFormat::Jpeg,
                               PictureFormat::Gif})
    EXPECT_TRUE(formats.count(needed)) << static_cast<int>(needed);
}

// The committed demo pictures: every file decodes, none is large, all together stay under 1 MB.
TEST(DemoPictures, EveryFileDecodesAndTheSetStaysSmall) {
  const std::filesystem::path root = std::filesystem::path(ZORV_DEMO_DIR) / "pictures";
  if (!std::filesystem::exists(root)) GTEST_SKIP() << "no demo pictures";
  std::uintmax_t total = 0;
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    const auto extension = entry.path().extension().string();
    if (extension != ".png" && extension != ".gif" && extension != ".jpg") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_LT(bytes.size(), 60u * 1024) << entry.path();
    EXPECT_TRUE(testing::DecodeWithStbImage(bytes).has_value()) << entry.path();
    if (extension == ".png") {
      png::PngImage read;
      std::string error;
      EXPECT_TRUE(testing::ReadWithLibpng(bytes, read, error)) << entry.path() << ": " << error;
    }
    total += bytes.size();
    ++files;
  }
  EXPECT_GE(files, 30);
  EXPECT_LT(total, 1024u * 1024);
}

}  // namespace
}  // namespace zorv::pictures
