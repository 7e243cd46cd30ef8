// Runs the built zorv-makepictures command and decodes what it wrote.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "stb_image_reference.h"
#include "support/temp_folder.h"

namespace zorv::pictures {
namespace {

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(MakePicturesCommand, WritesTheSixCategoriesForEachGame) {
  testing::TempFolder folder;
  const std::string command =
      std::string(ZORV_MAKEPICTURES) + " " + folder.Str() + " gng \"mygame=Test Title\" > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const char* expected[] = {"titles/gng.png",    "snap/gng.png",      "marquees/gng.png",  "cabinets/gng.gif",
                            "cpanel/gng.png",    "flyers/gng.jpg",    "titles/mygame.png", "snap/mygame.png",
                            "marquees/mygame.png", "cabinets/mygame.png", "cpanel/mygame.png", "flyers/mygame.jpg"};
  for (const char* name : expected) {
    ASSERT_TRUE(folder.Exists(name)) << name;
    const auto decoded = zorv::testing::DecodeWithStbImage(ReadFile(folder.Path() / name));
    ASSERT_TRUE(decoded.has_value()) << name;
    EXPECT_GT(decoded->width, 0) << name;
  }
}

TEST(MakePicturesCommand, NeedsAFolderAndAGame) {
  const std::string command = std::string(ZORV_MAKEPICTURES) + " 2> /dev/null";
  EXPECT_NE(std::system(command.c_str()), 0);
}

}  // namespace
}  // namespace zorv::pictures
