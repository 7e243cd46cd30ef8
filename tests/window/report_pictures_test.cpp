#include "window/report_pictures.h"

#include <gtest/gtest.h>

#include <png.h>

#include <string>

#include "platform/run_time_error.h"
#include "support/temp_folder.h"
#include "window/picture_group.h"

namespace zorv {
namespace {

using testing::TempFolder;

const std::string kSuite = std::string(ZORV_TEST_DATA_DIR) + "/pngsuite/";

// Stands in for the platform loader: a 3 x 2 picture for "*.jpg", a failure
// for anything else.
class FakeLoader final : public PictureLoader {
 public:
  Image Load(const std::string& path) override {
    if (path.ends_with(".jpg")) return Image(3, 2, 0x123456);
    throw RunTimeError(ErrorCode::InvalidPicture);
  }
};

// Reads the PNG data of a picture group back with the reference decoder.
Image DecodeGroup(const std::string& group) {
  const auto start = group.find("\r\n");
  std::vector<std::uint8_t> png;
  for (std::size_t i = start; i + 1 < group.size() - 1;) {
    if (!std::isxdigit(static_cast<unsigned char>(group[i]))) {
      ++i;
      continue;
    }
    png.push_back(static_cast<std::uint8_t>(std::stoi(group.substr(i, 2), nullptr, 16)));
    i += 2;
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return {};
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
  png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr);
  Image out(static_cast<std::int32_t>(image.width), static_cast<std::int32_t>(image.height));
  for (std::size_t i = 0; i < out.pixels.size(); ++i) out.pixels[i] = PackRgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
  return out;
}

struct ReportPicturesTest : ::testing::Test {
  TempFolder dir;
  SharedState state;
  FakeLoader loader;
  PlainColourPicture window{0x00FF00, 15360, 11520};  // green, as the report's background
  void SetUp() override { state.ProgramFolder = dir.Str(); }
};

TEST_F(ReportPicturesTest, PngThroughOurDecoderOthersThroughTheLoaderAtTheirSize) {
  ReportPictures pictures(state, ScreenMetrics{}, loader, window);
  dir.Write("T.PNG", [] {
    std::ifstream in(kSuite + "tbrn2c08.png", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }());
  pictures.LoadPictureFile(dir.Str() + "/T.PNG");
  ASSERT_EQ(pictures.Picture1().Image().width, 32);
  EXPECT_EQ(pictures.Picture1().Image().At(0, 0), PackRgb(0, 255, 0));  // a transparent corner shows the window's green
  EXPECT_EQ(window.Width(), 32 * 15 + 100);  // the window shrinks to the picture plus 100 twips
  EXPECT_TRUE(pictures.PictureToRtf().starts_with("{\\pict\\pngblip\\picw32\\pich32\\picwgoal480\\pichgoal480\r\n89504e47"));
  pictures.LoadPictureFile("a.jpg");
  EXPECT_EQ(pictures.Picture1().Image(), Image(3, 2, 0x123456));
  EXPECT_TRUE(pictures.PictureToRtf().starts_with("{\\pict\\pngblip\\picw3\\pich2\\picwgoal45\\pichgoal30"));
  EXPECT_FALSE(dir.Exists("Zorv.Log.txt"));
}

TEST_F(ReportPicturesTest, BadFilesLogFAndTheTagGetsTheBoxsPreviousPicture) {
  // A header that claims 30000 x 30000 pixels, one byte of image data, the end.
  std::string huge("\x89PNG\r\n\x1a\n", 8);
  const auto chunk = [&huge](std::string_view type, std::string_view data) {
    const auto size = static_cast<std::uint32_t>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8) huge += static_cast<char>(size >> shift);
    huge.append(type).append(data).append(4, '\0');
  };
  chunk("IHDR", std::string_view("\0\0\x75\x30\0\0\x75\x30\x08\x02\0\0\0", 13));
  chunk("IDAT", std::string_view("\0", 1));
  chunk("IEND", "");
  huge += '\0';
  dir.Write("huge.png", huge);
  dir.Write("cut.png", huge.substr(0, 30));
  dir.Write("gif-named.png", "GIF89a");
  dir.Write("empty.png", "");
  std::filesystem::create_directories(dir.Path() / "folder.png");
  ReportPictures pictures(state, ScreenMetrics{}, loader, window);
  for (const char* name : {"huge.png", "cut.png", "gif-named.png", "folder.png", "none.png", "b.gif", "empty.png"}) {
    pictures.LoadPictureFile(dir.Str() + "/" + name);
    EXPECT_TRUE(pictures.PictureToRtf().starts_with("{\\pict\\pngblip\\picw17\\pich17")) << name;
  }
  const std::string log = dir.Read("Zorv.Log.txt");
  EXPECT_NE(log.find("\r\nERROR F - 7\r\n"), std::string::npos) << log;  // refused before anything is allocated
  EXPECT_TRUE(log.ends_with("\r\nERROR F - 481\r\n")) << log;
  pictures.LoadPictureFile("a.jpg");
  pictures.LoadPictureFile("b.gif");  // the loader refuses it: the tag gets the picture before
  EXPECT_EQ(pictures.Picture1().Image(), Image(3, 2, 0x123456));
  EXPECT_THROW(PictureGroup(Image(), ScreenMetrics{}), RunTimeError);
}

// Pictures of up to 256 colours go out as palette images, others as RGB; odd
// widths leave bytes after the last whole word of a row.
TEST(PictureGroup, DecodesBackToTheSamePixels) {
  struct Case { std::int32_t width, height; std::uint32_t colours; };
  for (const Case c : {Case{1, 1, 1}, Case{37, 5, 4}, Case{16, 16, 256}, Case{300, 3, 257}, Case{37, 9, 1 << 24}}) {
    Image picture(c.width, c.height);
    for (std::uint32_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = (i % c.colours) * 0x9E3779u & 0xFFFFFFu;
    EXPECT_EQ(DecodeGroup(PictureGroup(picture, ScreenMetrics{})), picture) << c.width << " x " << c.height;
  }
}

}  // namespace
}  // namespace zorv
