// A saved report as a word processor shows it: LibreOffice turns it into a
// PDF, which is rendered to images; the text must be there in its colour and
// every picture at its size. Skipped when LibreOffice is not installed.
#include <gtest/gtest.h>

#include <png.h>

#include <filesystem>
#include <string>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace zorv::testing {
namespace {

bool HaveCommand(const std::string& name) { return RunProgram("command -v " + name + " >/dev/null 2>&1").ExitStatus == 0; }

void WriteSolidPng(const std::filesystem::path& file, std::uint32_t width, std::uint32_t height, std::uint32_t rgb) {
  std::vector<std::uint8_t> pixels;
  for (std::uint32_t i = 0; i < width * height; ++i) pixels.insert(pixels.end(), {std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)});
  png_image image{};
  image.version = PNG_IMAGE_VERSION, image.width = width, image.height = height, image.format = PNG_FORMAT_RGB;
  std::filesystem::create_directories(file.parent_path());
  ASSERT_TRUE(png_image_write_to_file(&image, file.c_str(), 0, pixels.data(), 0, nullptr));
}

// The width and height of the box around the pixels of one exact colour, on the page that holds them.
std::pair<int, int> SizeOfColour(const std::string& folder, std::uint32_t rgb) {
  std::pair<int, int> size{0, 0};
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.path().filename().string().starts_with("page-")) continue;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, entry.path().c_str())) continue;
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    for (std::uint32_t i = 0; i < image.width * image.height; ++i) {
      if (std::uint32_t(pixels[3 * i] << 16 | pixels[3 * i + 1] << 8 | pixels[3 * i + 2]) != rgb) continue;
      const int x = static_cast<int>(i % image.width), y = static_cast<int>(i / image.width);
      left = std::min(left, x), top = std::min(top, y), right = std::max(right, x), bottom = std::max(bottom, y);
    }
    if (right >= 0) size = {right - left + 1, bottom - top + 1};
  }
  return size;
}

TEST(WordProcessor, ShowsTheSavedReportsTextInItsColourAndEveryPictureAtItsSize) {
  if (!HaveCommand("soffice") || !HaveCommand("pdftoppm")) {
    GTEST_SKIP() << "LibreOffice (soffice) or pdftoppm is not installed: the word-processor check is skipped";
  }
  TempFolder collection;
  const std::string out = collection.Str(), history = "$info=gng\r\n$bio\r\nA knight in armour.\r\n$end\r\n";
  collection.Write("datafiles/history.dat", history);
  collection.Write("datafiles/index", "gng;BGhost Knight;S;Q1," + std::to_string(history.size()) + ";U0,0\r\n");
  std::filesystem::create_directories(collection.Path() / "saved");
  WriteSolidPng(collection.Path() / "snap" / "gng.png", 120, 90, 0xFF0000);
  WriteSolidPng(collection.Path() / "flyers" / "gng.png", 60, 150, 0x0000FF);
  collection.Write("Zorv.inf", "SnapPath=" + out + "\\snap\\\r\nFlyersPath=" + out + "\\flyers\\\r\nSavePath=" + out +
                                   "\\saved\\\r\nColor=Green\r\nBackColor=White\r\nTitlesPath=\r\nMarqueesPath=\r\n");
  std::filesystem::create_symlink(std::string(ZORV_BINARY_DIR) + "/apps/zorv-report/zorv-report", collection.Path() / "zorv-report");
  ASSERT_EQ(RunProgram(Quoted(out + "/zorv-report") + " gng >/dev/null").ExitStatus, 0);
  ASSERT_TRUE(collection.Exists("saved/ZRV_gng.rtf"));

  ASSERT_EQ(RunProgram("cd " + Quoted(out) + " && soffice -env:UserInstallation=file://" + out + "/lo-profile --headless "
                       "--convert-to pdf --outdir " + Quoted(out) + " " + Quoted(out + "/saved/ZRV_gng.rtf") + " >/dev/null 2>&1").ExitStatus, 0);
  ASSERT_EQ(RunProgram("pdftoppm -png -r 96 " + Quoted(out + "/ZRV_gng.pdf") + " " + Quoted(out + "/page")).ExitStatus, 0);
  const auto text = RunProgram("pdftotext " + Quoted(out + "/ZRV_gng.pdf") + " -").Output;
  for (const char* expected : {"Ghost Knight", "Name of Rom : gng", "A knight in armour.", "HISTORY"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  }
  EXPECT_GE(SizeOfColour(out, 0x00FF00).first, 50) << "no text in the report's green";
  // At 96 dots per inch one pixel of the picture is one pixel of the page.
  const auto red = SizeOfColour(out, 0xFF0000), blue = SizeOfColour(out, 0x0000FF);
  EXPECT_NEAR(red.first, 120, 2);
  EXPECT_NEAR(red.second, 90, 2);
  EXPECT_NEAR(blue.first, 60, 2);
  EXPECT_NEAR(blue.second, 150, 2);
}

}  // namespace
}  // namespace zorv::testing
