// The RTF we write: compact, one word per change, every character escaped the
// way word processors read it, tables of what is used, and read back the same.
#include "richtext/rtf_writer.h"

#include <gtest/gtest.h>

#include "document_text.h"
#include "richtext/document_edit.h"
#include "richtext/plain_text_reader.h"
#include "richtext/text_codec.h"

namespace zorv::richtext {
namespace {

TEST(RtfWriter, WritesACompactDocumentWithTablesAndOneWordPerChange) {
  const Document document = ReadRtf(
      "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\\f0\\fs20 Hi \\b there\\b\\b0\\par 2 {\\i end}}");
  EXPECT_EQ(WriteRtf(document),
            "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}{\\colortbl ;}\r\n"
            "\\uc1\\pard\\f0\\fs20 Hi \\b there\\b0\\par\r\n2 \\i end\\i0}");
}

TEST(RtfWriter, EscapesEveryCharacterAndReadsItBack) {
  const struct {
    std::u32string text;
    const char* body;  // what follows the first run's format words
  } rows[] = {
      {U"a\\b{c}", " a\\\\b\\{c\\}"}, {U"\u00E9t\u00E9", "\\'e9t\\'e9"}, {U"\u20AC\u0153", "\\'80\\'9c"},
      {U"\u0100x", "\\u256?x"}, {U"\u4E2D", "\\u20013?"}, {U"\uFFFD", "\\u-3?"}, {U"\U0001F60A", "\\u-10179?\\u-8694?"},
      {U"a\tb\v-", " a\\tab b\\line -"}, {U"\t1", "\\tab 1"}, {U"\t ", "\\tab  "}, {U"\t,", "\\tab,"},
      {std::u32string(U"\0\x1f\x7f", 3), "\\'00\\'1f\\'7f"}, {U"a\r\nb", " a\\par\r\nb"},
  };
  for (const auto& row : rows) {
    const Document document = ReadPlainText(row.text, Font{"Arial"}, 20);
    const std::string rtf = WriteRtf(document);
    const auto body = rtf.find("\\pard\\f0\\fs20") + 13;
    EXPECT_EQ(rtf.substr(body, rtf.size() - body - 1), row.body);
    EXPECT_EQ(ReadRtf(rtf), document) << row.body;
  }
}

TEST(RtfWriter, ListsEveryColourAndFontUsedOnceInOrderOfUse) {
  Document document = ReadPlainText(U"red green red auto", Font{"Caf\u00E9 {A}"}, 20);
  Recolour(document, 0, 3, 0x0000FF);
  Recolour(document, 4, 5, 0x00FF00);
  Recolour(document, 10, 3, 0x0000FF);
  document.fonts.push_back(Font{"Semi;colon", FontFamily::Tech, 77});
  const std::string rtf = WriteRtf(document);
  EXPECT_NE(rtf.find("{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green255\\blue0;}"), std::string::npos);
  EXPECT_NE(rtf.find("\\cf1 red\\cf0  \\cf2 green\\cf0  \\cf1 red\\cf0  auto}"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("{\\f0\\fnil\\fcharset0 Caf\\'e9 \\{A\\};}{\\f1\\ftech\\fcharset77 Semicolon;}"), std::string::npos);
}

TEST(RtfWriter, ReadingWhatWasWrittenGivesTheSameDocument) {
  for (const char* rtf : {
           "{\\rtf1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman Times;}}{\\colortbl;\\red1\\green2\\blue3;}"
           "\\f1\\fs28\\b\\i\\ul\\cf1 all\\plain  plain\\par\\f0\\cf0 x\\tab y\\line z\\par\\par}",
           "{\\rtf1 \\'c9\\u8364?\\u-10179?\\u-8694?\\~\\-\\_\\\\\\{\\}\\'00\\'0d}",
           "{\\rtf1 a{\\pict\\pngblip\\picw2\\pich2 0102\r\n0304}{\\*\\shppict{\\pict\\jpegblip\\bin3 }{}}b\\par {\\b\\par}}",
           "{\\rtf1{\\fonttbl\\f9 Nine;\\f3\\fcharset204 Three;}\\deff3\\cf7 q\\f9\\fs0 r{\\colortbl;\\red9;}\\cf1 s}",
           "{\\rtf1 \\fs999999 big\\fs1 small\\b\\par}", "plain text, not RTF"}) {
    const Document document = ReadRtf(rtf);
    const std::string written = WriteRtf(document);
    EXPECT_EQ(ReadRtf(written), document) << written;
    EXPECT_EQ(WriteRtf(ReadRtf(written)), written);
  }
  Document recoloured = testing::ReadBody("ab\\b cd\\b0 ef\\par gh");
  Recolour(recoloured, 1, 6, 0x123456);
  EXPECT_EQ(ReadRtf(WriteRtf(recoloured)), recoloured);
}

}  // namespace
}  // namespace zorv::richtext
