// A saved report as a word processor shows it: LibreOffice turns it into a
// PDF, which is rendered to an image; the text must be there in its colour and
// every picture at its size. Skipped when LibreOffice is not installed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <png.h>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

using testing::Quoted;
using testing::RunProgram;
using testing::TempFolder;

bool HaveCommand(const std::string& name) { return RunProgram("command -v " + name + " >/dev/null 2>&1").ExitStatus == 0; }

void WriteSolidPng(const std::filesystem::path& file, std::uint32_t width, std::uint32_t height, std::uint32_t rgb) {
  const std::vector<std::uint8_t> pixels = [&] {
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t i = 0; i < width * height; ++i) bytes.insert(bytes.end(), {std::uint8_t(rgb >> 16), std::uint8_t(rgb >> 8), std::uint8_t(rgb)});
    return bytes;
  }();
  png_image image{};
  image.version = PNG_IMAGE_VERSION, image.width = width, image.height = height, image.format = PNG_FORMAT_RGB;
  ASSERT_TRUE(png_image_write_to_file(&image, file.c_str(), 0, pixels.data(), 0, nullptr));
}

// A binary PPM read into rows of 0xRRGGBB.
struct Page {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

Page ReadPpm(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string magic;
  int maxval = 0;
  Page page;
  in >> magic >> page.width >> page.height >> maxval;
  in.get();
  page.pixels.resize(static_cast<std::size_t>(page.width) * page.height);
  for (auto& pixel : page.pixels) {
    unsigned char rgb[3];
    in.read(reinterpret_cast<char*>(rgb), 3);
    pixel = (rgb[0] << 16) | (rgb[1] << 8) | rgb[2];
  }
  return page;
}

// The bounding box of the pixels of one exact colour.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};

Box FindColour(const Page& page, std::uint32_t rgb) {
  Box box;
  for (int y = 0; y < page.height; ++y) {
    for (int x = 0; x < page.width; ++x) {
      if (page.At(x, y) != rgb) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

TEST(WordProcessor, ShowsTheSavedReportsTextInItsColourAndEveryPictureAtItsSize) {
  if (!HaveCommand("soffice") || !HaveCommand("pdftoppm")) {
    GTEST_SKIP() << "LibreOffice (soffice) or pdftoppm is not installed: the word-processor check is skipped";
  }
  TempFolder collection;
  const std::string history = "$info=gng\r\n$bio\r\nA knight in armour.\r\n$end\r\n";
  collection.Write("datafiles/history.dat", history);
  collection.Write("datafiles/index", "gng;BGhost Knight;S;Q1," + std::to_string(history.size()) + ";U0,0\r\n");
  std::filesystem::create_directories(collection.Path() / "snap");
  std::filesystem::create_directories(collection.Path() / "flyers");
  std::filesystem::create_directories(collection.Path() / "saved");
  WriteSolidPng(collection.Path() / "snap" / "gng.png", 120, 90, 0xFF0000);
  WriteSolidPng(collection.Path() / "flyers" / "gng.png", 60, 150, 0x0000FF);
  collection.Write("Zorv.inf", "SnapPath=" + collection.Str() + "\\snap\\\r\nFlyersPath=" + collection.Str() +
                                   "\\flyers\\\r\nSavePath=" + collection.Str() + "\\saved\\\r\nColor=Green\r\n"
                                   "BackColor=White\r\nTitlesPath=\r\nMarqueesPath=\r\nCabinetsPath=\r\nCpanelPath=\r\n");
  std::filesystem::create_symlink(std::string(ZORV_BINARY_DIR) + "/apps/zorv-report/zorv-report",
                                  collection.Path() / "zorv-report");
  ASSERT_EQ(RunProgram(Quoted((collection.Path() / "zorv-report").string()) + " gng >/dev/null").ExitStatus, 0);
  const auto saved = collection.Path() / "saved" / "ZRV_gng.rtf";
  ASSERT_TRUE(std::filesystem::exists(saved));

  const std::string out = collection.Str();
  const std::string profile = "-env:UserInstallation=file://" + out + "/lo-profile";
  ASSERT_EQ(RunProgram("cd " + Quoted(out) + " && soffice " + profile + " --headless --convert-to pdf --outdir " +
                       Quoted(out) + " " + Quoted(saved.string()) + " >/dev/null 2>&1")
                .ExitStatus,
            0);
  ASSERT_EQ(RunProgram("pdftoppm -r 96 " + Quoted(out + "/ZRV_gng.pdf") + " " + Quoted(out + "/page")).ExitStatus, 0);
  const auto text = RunProgram("pdftotext " + Quoted(out + "/ZRV_gng.pdf") + " -").Output;
  for (const char* expected : {"Ghost Knight", "Name of Rom : gng", "A knight in armour.", "HISTORY"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  }

  // Each colour is looked for on the page that holds it.
  Box green, red, blue;
  for (const auto& entry : std::filesystem::directory_iterator(out)) {
    if (entry.path().extension() != ".ppm") continue;
    const Page page = ReadPpm(entry.path());
    for (auto [box, rgb] : {std::pair{&green, 0x00FF00u}, {&red, 0xFF0000u}, {&blue, 0x0000FFu}}) {
      const Box found = FindColour(page, rgb);
      if (found.right >= 0) *box = found;
    }
  }
  EXPECT_GE(green.Width(), 50) << "no text in the report's green";
  // At 96 dots per inch one pixel of the picture is one pixel of the page.
  EXPECT_NEAR(red.Width(), 120, 2);
  EXPECT_NEAR(red.Height(), 90, 2);
  EXPECT_NEAR(blue.Width(), 60, 2);
  EXPECT_NEAR(blue.Height(), 150, 2);
}

}  // namespace
}  // namespace zorv
