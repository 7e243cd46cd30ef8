#include <gtest/gtest.h>

#include "document_text.h"
#include "richtext/picture_reader.h"
#include "richtext/rtf_writer.h"

namespace zorv::richtext {
namespace {

using testing::AllPictures;
using testing::ReadBody;

using Bytes = std::vector<std::uint8_t>;

TEST(Picture, KeepsTheGroupByteForByteWithWhatARendererNeeds) {
  const std::string group =
      "{\\pict{\\*\\picprop\\shplid1025}\\pngblip\\picw10\\pich20\\picwgoal150\\pichgoal300"
      "\\picscalex50\\picscaley75{\\*\\blipuid 0123abcd}89504e47\r\n0d0A 1 a   }";
  const Document document = ReadBody("a" + group + "b");
  EXPECT_EQ(PlainTextUtf8(document), "a\uFFFCb");
  const auto pictures = AllPictures(document);
  ASSERT_EQ(pictures.size(), 1u);
  const Picture& picture = pictures[0];
  EXPECT_EQ(picture.groupText, group);
  EXPECT_EQ(picture.kind, BlipKind::Png);
  EXPECT_EQ(picture.width, 10);
  EXPECT_EQ(picture.height, 20);
  EXPECT_EQ(picture.goalWidth, 150);
  EXPECT_EQ(picture.goalHeight, 300);
  EXPECT_EQ(picture.scaleX, 50);
  EXPECT_EQ(picture.scaleY, 75);
  EXPECT_EQ(picture.data, (Bytes{0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a}));  // blanks between digits pass
  EXPECT_NE(WriteRtf(document).find(group), std::string::npos);
}

struct BlipCase {
  const char* words;
  BlipKind kind;
  int parameter;
};

void PrintTo(const BlipCase& c, std::ostream* os) { *os << testing::Printable(c.words); }

class ReadsBlipKind : public ::testing::TestWithParam<BlipCase> {};

TEST_P(ReadsBlipKind, FromItsWord) {
  const auto pictures = AllPictures(ReadBody(std::string("{\\pict") + GetParam().words + " 00}"));
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].kind, GetParam().kind);
  EXPECT_EQ(pictures[0].kindParameter, GetParam().parameter);
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReadsBlipKind,
                         ::testing::Values(BlipCase{"\\pngblip", BlipKind::Png, 0},
                                           BlipCase{"\\jpegblip", BlipKind::Jpeg, 0},
                                           BlipCase{"\\dibitmap0", BlipKind::DeviceIndependent, 0},
                                           BlipCase{"\\wbitmap0\\wbmbitspixel8", BlipKind::DeviceDependent, 0},
                                           BlipCase{"\\emfblip", BlipKind::EnhancedMetafile, 0},
                                           BlipCase{"\\wmetafile8", BlipKind::Metafile, 8},
                                           BlipCase{"\\macpict", BlipKind::Unknown, 0}));

TEST(Picture, HonoursBinaryDataEvenWithBracesInIt) {
  using namespace std::string_literals;
  const std::string group = "{\\pict\\pngblip\\bin5 \x00}{\\xff}"s;  // five raw bytes, then hex "ff"
  const Document document = ReadBody(group + "z");
  const auto pictures = AllPictures(document);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].data, (Bytes{0x00, '}', '{', '\\', 'x', 0xff}));
  EXPECT_EQ(pictures[0].groupText, group);
  EXPECT_EQ(PlainTextUtf8(document), "\uFFFCz");
}

TEST(Picture, TakesTheShapePictureAndSkipsItsAlternative) {
  const auto pictures = AllPictures(
      ReadBody("{\\*\\shppict{\\pict\\pngblip 0102}}{\\nonshppict{\\pict\\wmetafile8 0304}}"));
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].kind, BlipKind::Png);
  EXPECT_EQ(pictures[0].groupText, "{\\pict\\pngblip 0102}");
}

TEST(Picture, AGroupWithTextBeforeTheWordIsNoPicture) {
  const Document document = ReadBody("{ab\\pict 0102}c");
  EXPECT_TRUE(AllPictures(document).empty());
  EXPECT_EQ(PlainTextUtf8(document), "abc");
}

TEST(Picture, AGroupCutShortIsRebuiltWhole) {
  const Document document = ReadRtf("{\\rtf1 x{\\pict\\pngblip\\picw5\\picscalex40 0a0b0");
  const auto pictures = AllPictures(document);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].data, (Bytes{0x0a, 0x0b}));
  EXPECT_EQ(pictures[0].groupText, "{\\pict\\pngblip\\picw5\\picscalex40\r\n0a0b}");
  EXPECT_EQ(ReadRtf(WriteRtf(document)), document);
}

TEST(Picture, CountsAsOneCharacterBetweenTabsAndBreaks) {
  const Document document = ReadBody("a\\tab b\\par {\\pict\\pngblip 00}\\line c");
  EXPECT_EQ(PlainTextUtf8(document), "a\tb\n\uFFFC\vc");
  EXPECT_EQ(PlainTextLength(document), 7u);
  EXPECT_EQ(PlainTextCodePoints(document), U"a\tb\n\uFFFC\vc");
}

}  // namespace
}  // namespace zorv::richtext
