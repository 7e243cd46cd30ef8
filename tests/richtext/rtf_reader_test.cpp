#include "richtext/rtf_reader.h"

#include <gtest/gtest.h>

#include "document_text.h"

namespace zorv::richtext {
namespace {

using testing::AllRuns;
using testing::ReadBody;

struct TextCase {
  const char* body;
  const char* plainText;  // UTF-8
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << testing::Printable(c.body); }

class ReadsText : public ::testing::TestWithParam<TextCase> {};

TEST_P(ReadsText, GivesThePlainText) {
  EXPECT_EQ(PlainTextUtf8(ReadBody(GetParam().body)), GetParam().plainText) << GetParam().body;
}

INSTANTIATE_TEST_SUITE_P(
    ControlWordsAndSymbols, ReadsText,
    ::testing::Values(
        TextCase{"a\\par b", "a\nb"}, TextCase{"a\\par\\pard b\\par ", "a\nb\n"},
        TextCase{"a\\tab b", "a\tb"}, TextCase{"a\\line b", "a\vb"},
        TextCase{"a\\\r\nb", "a\nb"},  // a backslash before a line end
        TextCase{"\r\na\r\nb\nc", "abc"}, TextCase{"a\\sect b\\page c", "a\nb\nc"},
        TextCase{"\\\\ \\{ \\}", "\\ { }"}, TextCase{"a\\~b\\-c\\_d", "a\u00A0b\u00ADc\u2011d"},
        TextCase{"\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote", "\u2014\u2013\u2022\u2018\u2019\u201C\u201D"},
        TextCase{"\\unknownword12 x\\zz-3 y", "xy"}, TextCase{"a\\bin3 {}\\b", "ab"},
        TextCase{"\\ansi\\ansicpg1252\\deff0\\deflang1036\\viewkind4\\uc1 x", "x"}));

INSTANTIATE_TEST_SUITE_P(
    CodePageEscapes, ReadsText,
    ::testing::Values(TextCase{"\\'e9t\\'e9", "\u00E9t\u00E9"}, TextCase{"\\'80\\'9c\\'ff", "\u20AC\u0153\u00FF"},
                      TextCase{"\\'C9cran", "\u00C9cran"}, TextCase{"caf\xe9", "caf\u00E9"},
                      TextCase{"\\'4", "4"}));

INSTANTIATE_TEST_SUITE_P(
    UnicodeEscapes, ReadsText,
    ::testing::Values(TextCase{"\\u8364?x", "\u20ACx"}, TextCase{"\\u8364 ?x", "\u20ACx"},
                      TextCase{"\\uc2\\u8364ab c", "\u20AC c"}, TextCase{"\\uc0\\u8364 x", "\u20ACx"},
                      TextCase{"\\u233\\'e9", "\u00E9"}, TextCase{"{\\uc2\\u8364\\'80\\'80}x", "\u20ACx"},
                      TextCase{"\\u8364\\b x", "\u20ACx"},  // a control word counts as one fallback
                      TextCase{"\\uc3\\u8364{x}", "\u20ACx"},  // a brace ends the fallback
                      TextCase{"\\u-3?", "\uFFFD"}, TextCase{"\\u-4064?", "\uF020"},
                      TextCase{"\\u-10179?\\u-8694?", "\U0001F60A"}, TextCase{"\\u-10179?x", "\uFFFDx"},
                      TextCase{"\\u-8694?", "\uFFFD"}));

INSTANTIATE_TEST_SUITE_P(
    IgnorableDestinations, ReadsText,
    ::testing::Values(TextCase{"{\\*\\unknowndest hidden}shown", "shown"},
                      TextCase{"{\\info{\\title t}{\\author a}}{\\stylesheet{\\s0 Normal;}}x", "x"},
                      TextCase{"{\\header h}{\\footer f}{\\headerl l}{\\footerr r}x", "x"},
                      TextCase{"{\\*\\generator Msftedit 5.41.15.1507;}x", "x"},
                      TextCase{"{\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt link}}", "link"},
                      TextCase{"{\\*\\bkmkstart b}x{\\*\\bkmkend b}", "x"},
                      TextCase{"{\\*\\x{\\y}\\bin2 }}z}after", "after"},  // \bin data may hold braces
                      TextCase{"{\\nonshppict{\\pict\\wmetafile8 0102}}x", "x"}));

TEST(RtfReader, ReadsTheFontTableInItsCommonForms) {
  const Document document = ReadBody(
      "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman\\fcharset2 Symbol;}"
      "{\\f2\\froman\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}{\\f3 Caf\\'e9}"
      "\\f4\\fmodern Courier New;\\f5\\fscript\\fcharset238 Brush;}\\f0 x");
  const std::vector<Font> expected = {{"Arial", FontFamily::Swiss, 0},           {"Symbol", FontFamily::Roman, 2},
                                      {"Times New Roman", FontFamily::Roman, 0}, {"Caf\u00E9", FontFamily::Nil, 0},
                                      {"Courier New", FontFamily::Modern, 0},    {"Brush", FontFamily::Script, 238}};
  EXPECT_EQ(document.fonts, expected);
}

struct FontChoiceCase {
  const char* body;
  std::vector<std::size_t> runFonts;
  std::vector<std::string> fontNames;
};

void PrintTo(const FontChoiceCase& c, std::ostream* os) { *os << testing::Printable(c.body); }

class ChoosesFonts : public ::testing::TestWithParam<FontChoiceCase> {};

TEST_P(ChoosesFonts, ByNumberDefaultOrFallback) {
  const Document document = ReadBody(GetParam().body, ReaderOptions{Font{"Verdana"}, 24});
  std::vector<std::size_t> fonts;
  for (const auto& run : AllRuns(document)) fonts.push_back(run.format.font);
  EXPECT_EQ(fonts, GetParam().runFonts);
  std::vector<std::string> names;
  for (const auto& font : document.fonts) names.push_back(font.name);
  EXPECT_EQ(names, GetParam().fontNames);
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, ChoosesFonts,
    ::testing::Values(
        FontChoiceCase{"{\\fonttbl{\\f3 A;}{\\f7 B;}}\\f7 x\\f3 y", {1, 0}, {"A", "B"}},
        FontChoiceCase{"\\deff1{\\fonttbl{\\f0 A;}{\\f1 B;}}x\\f0 y\\plain z", {1, 0, 1}, {"A", "B"}},
        FontChoiceCase{"x", {0}, {"Verdana"}},                                  // no table: the default font
        FontChoiceCase{"{\\fonttbl{\\f0 A;}}\\f9 x\\f0 y", {1, 0}, {"A", "Verdana"}}));

TEST(RtfReader, ReadsTheColourTableAndItsAutomaticEntry) {
  const Document document = ReadBody(
      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue255;\\red999\\green-4;}"
      "\\cf1 r\\cf2 g\\cf0 a\\cf3 c\\cf9 z\\cf-5 n");
  std::vector<std::optional<Colour>> colours;
  for (const auto& run : AllRuns(document)) colours.push_back(run.format.colour);
  const std::vector<std::optional<Colour>> expected = {0x0000FF, MakeColour(0, 128, 255), std::nullopt, 0x0000FF,
                                                       std::nullopt};
  EXPECT_EQ(colours, expected);  // "z" and "n" name no entry, so they share the automatic run of "a"
}

struct FormatCase {
  const char* body;
  // One letter per run property: B bold, I italic, U underline, then the size.
  std::vector<std::pair<std::string, std::string>> runs;
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << testing::Printable(c.body); }

class ReadsCharacterFormat : public ::testing::TestWithParam<FormatCase> {};

std::string Describe(const CharacterFormat& format) {
  std::string text;
  if (format.bold) text += 'B';
  if (format.italic) text += 'I';
  if (format.underline) text += 'U';
  return text + std::to_string(format.halfPoints);
}

TEST_P(ReadsCharacterFormat, RunByRun) {
  std::vector<std::pair<std::string, std::string>> runs;
  for (const auto& run : AllRuns(ReadBody(GetParam().body))) runs.emplace_back(testing::Utf8(run.text), Describe(run.format));
  EXPECT_EQ(runs, GetParam().runs) << GetParam().body;
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ReadsCharacterFormat,
    ::testing::Values(
        FormatCase{"\\b a\\b0 b", {{"a", "B24"}, {"b", "24"}}}, FormatCase{"\\i a\\i0 b", {{"a", "I24"}, {"b", "24"}}},
        FormatCase{"\\ul a\\ulnone b\\ul c\\ul0 d\\uldb e", {{"a", "U24"}, {"b", "24"}, {"c", "U24"}, {"d", "24"}, {"e", "U24"}}},
        FormatCase{"\\fs28 a\\fs0 b\\fs99999999999 c\\fs-5 d", {{"a", "28"}, {"b", "24"}, {"c", "3276"}, {"d", "24"}}},
        FormatCase{"{\\b\\fs30 a}b", {{"a", "B30"}, {"b", "24"}}},
        FormatCase{"\\b\\i\\ul\\fs30 a\\plain b", {{"a", "BIU30"}, {"b", "24"}}},
        FormatCase{"\\b a\\b b\\pard c", {{"abc", "B24"}}}));  // equal runs are one run

TEST(RtfReader, GivesTheParagraphMarkTheFormatAtItsBreak) {
  const Document document = ReadBody("\\b\\fs28 Title\\par \\b0\\fs20\\par x");
  ASSERT_EQ(document.paragraphs.size(), 3u);
  EXPECT_TRUE(document.paragraphs[0].markFormat.bold);
  EXPECT_EQ(document.paragraphs[0].markFormat.halfPoints, 28);
  EXPECT_FALSE(document.paragraphs[1].markFormat.bold);
  EXPECT_EQ(document.paragraphs[1].markFormat.halfPoints, 20);
  EXPECT_TRUE(document.paragraphs[1].content.empty());
}

TEST(RtfReader, StopsAtTheEndOfTheDocumentGroup) {
  EXPECT_EQ(PlainTextUtf8(ReadRtf("{\\rtf1 abc}}}def{x}")), "abc");
}

}  // namespace
}  // namespace zorv::richtext
