// RTF as word processors leave it, and as damage leaves it: each row must read
// as expected and come back the same through our writer.
#include "richtext/rtf_reader.h"

#include <gtest/gtest.h>

#include "document_text.h"
#include "richtext/rtf_writer.h"

namespace zorv::richtext {
namespace {

using testing::Dump;

std::string Repeated(std::string_view piece, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

struct Row {
  std::string rtf;
  std::string expected;
};

TEST(RtfReader, GivesThePlainTextOfWordsSymbolsEscapesDestinationsAndDamage) {
  using namespace std::string_literals;
  const Row rows[] = {
      {"{\\rtf1 a\\par b}", "a\nb"}, {"{\\rtf1 a\\par\\pard b\\par }", "a\nb\n"}, {"{\\rtf1 a\\tab b}", "a\tb"},
      {"{\\rtf1 a\\line b}", "a\vb"}, {"{\\rtf1 a\\\r\nb}", "a\nb"}, {"{\\rtf1 \r\na\r\nb\nc}", "abc"},
      {"{\\rtf1 a\\sect b\\page c}", "a\nb\nc"}, {"{\\rtf1 \\\\ \\{ \\}}", "\\ { }"},
      {"{\\rtf1 a\\~b\\-c\\_d}", "a\u00A0b\u00ADc\u2011d"},
      {"{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}", "\u2014\u2013\u2022\u2018\u2019\u201C\u201D"},
      {"{\\rtf1 \\unknownword12 x\\zz-3 y}", "xy"}, {"{\\rtf1 a\\bin3 {}\\b}", "ab"},
      {"{\\rtf1 \\ansi\\ansicpg1252\\deff0\\deflang1036\\viewkind4\\uc1 x}", "x"},
      {"{\\rtf1 \\'e9t\\'e9}", "\u00E9t\u00E9"}, {"{\\rtf1 \\'80\\'9c\\'ff}", "\u20AC\u0153\u00FF"},
      {"{\\rtf1 \\'C9cran}", "\u00C9cran"}, {"{\\rtf1 caf\xe9}", "caf\u00E9"}, {"{\\rtf1 \\'4}", "4"},
      {"{\\rtf1 \\u8364?x}", "\u20ACx"}, {"{\\rtf1 \\u8364 ?x}", "\u20ACx"}, {"{\\rtf1 \\uc2\\u8364ab c}", "\u20AC c"},
      {"{\\rtf1 \\uc0\\u8364 x}", "\u20ACx"}, {"{\\rtf1 \\u233\\'e9}", "\u00E9"},
      {"{\\rtf1 {\\uc2\\u8364\\'80\\'80}x}", "\u20ACx"}, {"{\\rtf1 \\u8364\\b x}", "\u20ACx"},
      {"{\\rtf1 \\uc3\\u8364{x}}", "\u20ACx"}, {"{\\rtf1 \\u-3?}", "\uFFFD"}, {"{\\rtf1 \\u-4064?}", "\uF020"},
      {"{\\rtf1 \\u-10179?\\u-8694?}", "\U0001F60A"}, {"{\\rtf1 \\u1114111?\\u1114112?}", "\U0010FFFF\uFFFD"}, {"{\\rtf1 \\u-10179?x}", "\uFFFDx"}, {"{\\rtf1 \\u-8694?}", "\uFFFD"},
      {"{\\rtf1 {\\*\\unknowndest hidden}shown}", "shown"},
      {"{\\rtf1 {\\info{\\title t}{\\author a}}{\\stylesheet{\\s0 Normal;}}x}", "x"},
      {"{\\rtf1 {\\header h}{\\footer f}{\\headerl l}{\\footerr r}x}", "x"},
      {"{\\rtf1 {\\*\\generator Msftedit 5.41.15.1507;}x}", "x"},
      {"{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt link}}}", "link"},
      {"{\\rtf1 {\\*\\bkmkstart b}x{\\*\\bkmkend b}}", "x"}, {"{\\rtf1 {\\*\\x{\\y}\\bin2 }}z}after}", "after"},
      {"{\\rtf1 {\\nonshppict{\\pict\\wmetafile8 0102}}x}", "x"}, {"{\\rtf1 abc}}}def{x}", "abc"},
      {"{\\rtf1 a\\tab b\\par {\\pict\\pngblip 00}\\line c}", "a\tb\n\uFFFC\vc"}, {"{\\rtf1 {ab\\pict 0102}c}", "abc"},
      {"{\\rtf1 abc", "abc"}, {"{\\rtf1 a{\\b b{\\i c", "abc"}, {"{\\rtf1 a}}}b", "a"}, {"}}{\\rtf1 a}", "a"},
      {"{\\rtf1 \\", ""}, {"{\\rtf1 x\\'", "x"}, {"{\\rtf1 x\\'e", "xe"}, {"{\\rtf1 \\'e9", "\u00E9"}, {"{\\rtf1 \\u", ""},
      {"{\\rtf1 \\u99999999999 xy}", "\uFFFDy"}, {"{\\rtf1 \\u-99999999999 xy}", "\uFFFDy"},
      {"{\\rtf1 \\uc99999999 \\u65 " + Repeated("x", 200) + "}", "A"}, {"{\\rtf1 a\\bin999999999 abc}", "a"},
      {"{\\rtf1 a\\bin-5 bc}", "abc"}, {"{\\rtf1 \\fs" + Repeated("9", 1000) + " a}", "a"},
      {"{\\rtf1 \\" + Repeated("x", 5000) + " a}", "a"}, {"{\\rtf1{\\fonttbl{\\f0 Ari", ""},
      {"{\\rtf1{\\colortbl\\red1", ""}, {"{\\rtf1{\\*", ""}, {"{\\rtf1{\\*\\x{", ""}, {"{\\rtf1{\\pict\\bin9 ab", "\uFFFC"},
      {"{\\rtf1 \x00\xff\x01}"s, "\x00\xc3\xbf\x01"s},
      {"{\\rtf1 " + Repeated("{", 100000) + "x" + Repeated("}", 100000) + "y}", "xy"},
      {"{\\rtf1 " + Repeated("{\\b ", 2000) + "x" + Repeated("}", 2000) + "y}", "xy"},
      {"{\\rtf1 " + Repeated("{", 1000) + "{\\*\\skip{}}x" + Repeated("}", 1000) + "}", "x"},
      {"{\\rtf1 " + Repeated("{", 1000) + "{\\pict 00}x}", "x"},
  };
  for (const Row& row : rows) {
    const Document document = ReadRtf(row.rtf);
    EXPECT_EQ(PlainTextUtf8(document), row.expected) << row.rtf.substr(0, 80);
    EXPECT_EQ(ReadRtf(WriteRtf(document)), document) << row.rtf.substr(0, 80);
  }
  const Document picture = ReadRtf("{\\rtf1 a\\tab b\\par {\\pict\\pngblip 00}\\line c}");
  EXPECT_EQ(PlainTextLength(picture), 7u);
  EXPECT_EQ(PlainTextCodePoints(picture), U"a\tb\n\uFFFC\vc");
}

TEST(RtfReader, GivesEachRunItsFormatFontAndColourAndEachPictureItsKindAndSize) {
  using namespace std::string_literals;
  const Row rows[] = {
      {"\\b a\\b0 b", "<b24>a<24>b"}, {"\\i a\\i0 b", "<i24>a<24>b"},
      {"\\ul a\\ulnone b\\ul c\\ul0 d\\uldb e", "<u24>a<24>b<u24>c<24>d<u24>e"},
      {"\\fs28 a\\fs0 b\\fs99999999999 c\\fs-5 d", "<28>a<24>b<3276>c<24>d"}, {"{\\b\\fs30 a}b", "<b30>a<24>b"},
      {"\\b\\i\\ul\\fs30 a\\plain b", "<biu30>a<24>b"}, {"\\b a\\b b\\pard c", "<b24>abc"},
      {"\\b\\fs28 Title\\par \\b0\\fs20\\par x", "<b28>Title\n\n<20>x"},
      {"{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue255;\\red999\\green-4;}\\cf1 r\\cf2 g\\cf0 a\\cf3 c\\cf9 z\\cf-5 n",
       "<24c0000FF>r<24cFF8000>g<24>a<24c0000FF>c<24>zn"},  // "z" and "n" name no entry: automatic
      {"{\\fonttbl{\\f3 A;}{\\f7 B;}}\\f7 x\\f3 y", "<24f1>x<24>y"},
      {"\\deff1{\\fonttbl{\\f0 A;}{\\f1 B;}}x\\f0 y\\plain z", "<24f1>x<24>y<24f1>z"},
      {"{\\fonttbl{\\f0 A;}}\\f9 x\\f0 y", "<24f1>x<24>y"},  // an unknown number: the default font
      {"{\\pict\\pngblip 00}", "[png0 0x0 0x0 100x100 00]"}, {"{\\pict\\jpegblip 00}", "[jpeg0 0x0 0x0 100x100 00]"},
      {"{\\pict\\dibitmap0 00}", "[dib0 0x0 0x0 100x100 00]"},
      {"{\\pict\\wbitmap0\\wbmbitspixel8 00}", "[ddb0 0x0 0x0 100x100 00]"},
      {"{\\pict\\emfblip 00}", "[emf0 0x0 0x0 100x100 00]"}, {"{\\pict\\wmetafile8 00}", "[wmf8 0x0 0x0 100x100 00]"},
      {"{\\pict\\macpict 00}", "[?0 0x0 0x0 100x100 00]"},
      {"a{\\pict{\\*\\picprop\\shplid1025}\\pngblip\\picw10\\pich20\\picwgoal150\\pichgoal300\\picscalex50\\picscaley75"
       "{\\*\\blipuid 0123abcd}89504e47\r\n0d0A 1 a   }b", "<24>a[png0 10x20 150x300 50x75 89504e470d0a1a]b"},
      {"{\\pict\\pngblip\\bin5 \x00}{\\xff}z"s, "[png0 0x0 0x0 100x100 007d7b5c78ff]<24>z"},
      {"{\\*\\shppict{\\pict\\pngblip 0102}}{\\nonshppict{\\pict\\wmetafile8 0304}}", "[png0 0x0 0x0 100x100 0102]"},
  };
  for (const Row& row : rows) {
    const Document document = testing::ReadBody(row.rtf);
    EXPECT_EQ(Dump(document), row.expected) << row.rtf;
    EXPECT_EQ(ReadRtf(WriteRtf(document)), document) << row.rtf;
  }
  const Document fonts = testing::ReadBody("{\\fonttbl{\\f0 A;}}\\f9 x\\f0 y", ReaderOptions{Font{"Verdana"}, 24});
  EXPECT_EQ(fonts.fonts, (std::vector<Font>{{"A"}, {"Verdana"}}));
  EXPECT_EQ(testing::ReadBody("x", ReaderOptions{Font{"Verdana"}, 20}).fonts, std::vector<Font>{{"Verdana"}});
  const Document marks = testing::ReadBody("\\b\\fs28 Title\\par \\b0\\fs20\\par x");
  EXPECT_TRUE(marks.paragraphs[0].markFormat.bold && !marks.paragraphs[1].markFormat.bold);
  EXPECT_EQ(marks.paragraphs[0].markFormat.halfPoints + marks.paragraphs[1].markFormat.halfPoints, 48);
  const Document nested = ReadRtf("{\\rtf1 " + Repeated("{", 600) + "\\b x" + Repeated("}", 600) + "y}");
  EXPECT_EQ(Dump(nested), "<b24>x<24>y");  // nesting beyond the limit is read flat
}

TEST(RtfReader, ReadsTheFontTableInItsCommonForms) {
  const Document document = testing::ReadBody(
      "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman\\fcharset2 Symbol;}"
      "{\\f2\\froman\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}{\\f3 Caf\\'e9}"
      "\\f4\\fmodern Courier New;\\f5\\fscript\\fcharset238 Brush;}\\f0 x");
  const std::vector<Font> expected = {{"Arial", FontFamily::Swiss, 0},           {"Symbol", FontFamily::Roman, 2},
                                      {"Times New Roman", FontFamily::Roman, 0}, {"Caf\u00E9", FontFamily::Nil, 0},
                                      {"Courier New", FontFamily::Modern, 0},    {"Brush", FontFamily::Script, 238}};
  EXPECT_EQ(document.fonts, expected);
}

TEST(RtfReader, KeepsAPictureGroupByteForByteAndRebuildsOneCutShort) {
  const std::string group =
      "{\\pict{\\*\\picprop\\shplid1025}\\pngblip\\picw10\\pich20\\picwgoal150\\pichgoal300"
      "\\picscalex50\\picscaley75{\\*\\blipuid 0123abcd}89504e47\r\n0d0A 1 a   }";
  const Document document = testing::ReadBody("a" + group + "b");
  EXPECT_EQ(testing::AllPictures(document).at(0).groupText, group);
  EXPECT_NE(WriteRtf(document).find(group), std::string::npos);
  using namespace std::string_literals;
  EXPECT_EQ(testing::AllPictures(testing::ReadBody("{\\pict\\pngblip\\bin5 \x00}{\\xff}z"s)).at(0).groupText,
            "{\\pict\\pngblip\\bin5 \x00}{\\xff}"s);
  const Document cut = ReadRtf("{\\rtf1 x{\\pict\\pngblip\\picw5\\picscalex40 0a0b0");
  EXPECT_EQ(Dump(cut), "<24>x[png0 5x0 0x0 40x100 0a0b]");
  EXPECT_EQ(testing::AllPictures(cut).at(0).groupText, "{\\pict\\pngblip\\picw5\\picscalex40\r\n0a0b}");
  EXPECT_EQ(ReadRtf(WriteRtf(cut)), cut);
}

}  // namespace
}  // namespace zorv::richtext
