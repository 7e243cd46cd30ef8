// Input that is cut short, unbalanced or hostile is read as far as it can be.
#include <gtest/gtest.h>

#include "document_text.h"
#include "richtext/rtf_writer.h"

namespace zorv::richtext {
namespace {

struct BrokenCase {
  std::string rtf;
  std::string plainText;  // UTF-8
};

void PrintTo(const BrokenCase& c, std::ostream* os) { *os << testing::Printable(c.rtf); }

class ReadsBrokenInput : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(ReadsBrokenInput, AsFarAsItCanAndWritesItBackWhole) {
  const Document document = ReadRtf(GetParam().rtf);
  EXPECT_EQ(PlainTextUtf8(document), GetParam().plainText);
  EXPECT_EQ(ReadRtf(WriteRtf(document)), document);
}

std::string Repeated(std::string_view piece, std::size_t times) {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Broken, ReadsBrokenInput,
    ::testing::Values(
        BrokenCase{"{\\rtf1 abc", "abc"}, BrokenCase{"{\\rtf1 a{\\b b{\\i c", "abc"},
        BrokenCase{"{\\rtf1 a}}}b", "a"}, BrokenCase{"}}{\\rtf1 a}", "a"}, BrokenCase{"{\\rtf1 \\", ""},
        BrokenCase{"{\\rtf1 x\\'", "x"}, BrokenCase{"{\\rtf1 x\\'e", "xe"}, BrokenCase{"{\\rtf1 \\u", ""},
        BrokenCase{"{\\rtf1 \\u99999999999 xy}", "\uFFFDy"}, BrokenCase{"{\\rtf1 \\u-99999999999 xy}", "\uFFFDy"},
        BrokenCase{"{\\rtf1 \\uc99999999 \\u65 " + Repeated("x", 200) + "}", "A"},
        BrokenCase{"{\\rtf1 a\\bin999999999 abc}", "a"}, BrokenCase{"{\\rtf1 a\\bin-5 bc}", "abc"},
        BrokenCase{"{\\rtf1 \\fs" + Repeated("9", 1000) + " a}", "a"},
        BrokenCase{"{\\rtf1 \\" + Repeated("x", 5000) + " a}", "a"},
        BrokenCase{"{\\rtf1{\\fonttbl{\\f0 Ari", ""}, BrokenCase{"{\\rtf1{\\colortbl\\red1", ""},
        BrokenCase{"{\\rtf1{\\*", ""}, BrokenCase{"{\\rtf1{\\*\\x{", ""},
        BrokenCase{"{\\rtf1{\\pict\\bin9 ab", "\uFFFC"},
        BrokenCase{std::string("{\\rtf1 \x00\xff\x01}", 11), std::string("\x00\xc3\xbf\x01", 4)},
        BrokenCase{"{\\rtf1 " + Repeated("{", 100000) + "x" + Repeated("}", 100000) + "y}", "xy"},
        BrokenCase{"{\\rtf1 " + Repeated("{\\b ", 2000) + "x" + Repeated("}", 2000) + "y}", "xy"},
        BrokenCase{"{\\rtf1 " + Repeated("{", 1000) + "{\\*\\skip{}}x" + Repeated("}", 1000) + "}", "x"},
        BrokenCase{"{\\rtf1 " + Repeated("{", 1000) + "{\\pict 00}x}", "x"}));

TEST(BrokenInput, NestingBeyondTheLimitIsReadFlat) {
  const Document document = ReadRtf("{\\rtf1 " + Repeated("{", 600) + "\\b x" + Repeated("}", 600) + "y}");
  const auto runs = testing::AllRuns(document);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_TRUE(runs[0].format.bold);
  EXPECT_FALSE(runs[1].format.bold);
}

}  // namespace
}  // namespace zorv::richtext
