#include "richtext/rtf_writer.h"

#include <gtest/gtest.h>

#include "document_text.h"
#include "richtext/document_edit.h"
#include "richtext/plain_text_reader.h"
#include "richtext/text_codec.h"

namespace zorv::richtext {
namespace {

using testing::ReadBody;

TEST(RtfWriter, WritesACompactDocumentWithTablesAndOneWordPerChange) {
  const Document document = ReadRtf(
      "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\\f0\\fs20 Hi \\b there\\b\\b0\\par 2 {\\i end}}");
  EXPECT_EQ(WriteRtf(document),
            "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}{\\colortbl ;}\r\n"
            "\\uc1\\pard\\f0\\fs20 Hi \\b there\\b0\\par\r\n2 \\i end\\i0}");
}

struct EscapeCase {
  std::u32string text;
  const char* body;  // what follows the first run's format words
};

void PrintTo(const EscapeCase& c, std::ostream* os) { *os << testing::Printable(testing::Utf8(c.text)); }

class EscapesText : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapesText, AndReadsItBack) {
  const Document document = ReadPlainText(GetParam().text, Font{"Arial"}, 20);
  const std::string rtf = WriteRtf(document);
  const std::string prefix = "\\pard\\f0\\fs20";
  const auto body = rtf.find(prefix);
  ASSERT_NE(body, std::string::npos);
  EXPECT_EQ(rtf.substr(body + prefix.size(), rtf.size() - body - prefix.size() - 1), GetParam().body);
  EXPECT_EQ(ReadRtf(rtf), document);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, EscapesText,
    ::testing::Values(EscapeCase{U"a\\b{c}", " a\\\\b\\{c\\}"}, EscapeCase{U"\u00E9t\u00E9", "\\'e9t\\'e9"},
                      EscapeCase{U"\u20AC\u0153", "\\'80\\'9c"}, EscapeCase{U"\u0100x", "\\u256?x"},
                      EscapeCase{U"\u4E2D", "\\u20013?"}, EscapeCase{U"\uFFFD", "\\u-3?"},
                      EscapeCase{U"\U0001F60A", "\\u-10179?\\u-8694?"}, EscapeCase{U"a\tb\v-", " a\\tab b\\line -"},
                      EscapeCase{U"\t1", "\\tab 1"}, EscapeCase{U"\t ", "\\tab  "}, EscapeCase{U"\t,", "\\tab,"},
                      EscapeCase{std::u32string(U"\0\x1f\x7f", 3), "\\'00\\'1f\\'7f"},
                      EscapeCase{U"a\r\nb", " a\\par\r\nb"}));

TEST(RtfWriter, ListsEveryColourUsedOnceInOrderOfUse) {
  Document document = ReadPlainText(U"red green red auto", Font{"Arial"}, 20);
  Recolour(document, 0, 3, 0x0000FF);
  Recolour(document, 4, 5, 0x00FF00);
  Recolour(document, 10, 3, 0x0000FF);
  const std::string rtf = WriteRtf(document);
  EXPECT_NE(rtf.find("{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green255\\blue0;}"), std::string::npos);
  EXPECT_NE(rtf.find("\\cf1 red\\cf0  \\cf2 green\\cf0  \\cf1 red\\cf0  auto}"), std::string::npos) << rtf;
}

TEST(RtfWriter, WritesFontNamesEscapedAndWithoutSemicolons) {
  Document document = ReadPlainText(U"x", Font{"Caf\u00E9 {A}"}, 20);
  document.fonts.push_back(Font{"Semi;colon", FontFamily::Tech, 77});
  const std::string rtf = WriteRtf(document);
  EXPECT_NE(rtf.find("{\\f0\\fnil\\fcharset0 Caf\\'e9 \\{A\\};}{\\f1\\ftech\\fcharset77 Semicolon;}"), std::string::npos);
}

struct RoundTripCase {
  const char* name;
  const char* rtf;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

// Documents that exercise every part of the model.
const RoundTripCase kRoundTripInputs[] = {
    {"Formats",
     "{\\rtf1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman Times;}}{\\colortbl;\\red1\\green2\\blue3;}"
     "\\f1\\fs28\\b\\i\\ul\\cf1 all\\plain  plain\\par\\f0\\cf0 x\\tab y\\line z\\par\\par}"},
    {"Characters", "{\\rtf1 \\'c9\\u8364?\\u-10179?\\u-8694?\\~\\-\\_\\\\\\{\\}\\'00\\'0d}"},
    {"Pictures", "{\\rtf1 a{\\pict\\pngblip\\picw2\\pich2 0102\r\n0304}{\\*\\shppict{\\pict\\jpegblip\\bin3 }{}}b\\par {\\b\\par}}"},
    {"LateTables", "{\\rtf1{\\fonttbl\\f9 Nine;\\f3\\fcharset204 Three;}\\deff3\\cf7 q\\f9\\fs0 r{\\colortbl;\\red9;}\\cf1 s}"},
    {"Sizes", "{\\rtf1 \\fs999999 big\\fs1 small\\b\\par}"},
    {"NotRtf", "plain text, not RTF"},
};

class RoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrip, ReadingWhatWasWrittenGivesTheSameDocument) {
  const Document document = ReadRtf(GetParam().rtf);
  const std::string written = WriteRtf(document);
  const Document again = ReadRtf(written);
  EXPECT_EQ(again, document) << written;
  EXPECT_EQ(WriteRtf(again), written);
}

INSTANTIATE_TEST_SUITE_P(Documents, RoundTrip, ::testing::ValuesIn(kRoundTripInputs));

TEST(RtfWriter, KeepsRecolouredRunsAcrossARoundTrip) {
  Document document = ReadBody("ab\\b cd\\b0 ef\\par gh");
  Recolour(document, 1, 6, 0x123456);
  EXPECT_EQ(ReadRtf(WriteRtf(document)), document);
}

}  // namespace
}  // namespace zorv::richtext
