#include "richtext/document_edit.h"

#include <gtest/gtest.h>

#include "document_text.h"

namespace zorv::richtext {
namespace {

constexpr Colour kRed = 0x0000FF;

// One letter per plain-text position: R for red, - for any other colour; the
// last paragraph's mark is shown after a "|".
std::string ColourMap(const Document& document) {
  std::string map;
  for (std::size_t p = 0; p < document.paragraphs.size(); ++p) {
    const Paragraph& paragraph = document.paragraphs[p];
    for (const auto& item : paragraph.content) {
      if (const auto* run = std::get_if<TextRun>(&item)) {
        map.append(run->text.size(), run->format.colour == kRed ? 'R' : '-');
      } else {
        map += 'p';
      }
    }
    if (p + 1 == document.paragraphs.size()) map += '|';
    map += paragraph.markFormat.colour == kRed ? 'R' : '-';
  }
  return map;
}

bool HasEqualNeighbours(const Document& document) {
  for (const auto& paragraph : document.paragraphs) {
    for (std::size_t i = 1; i < paragraph.content.size(); ++i) {
      const auto* left = std::get_if<TextRun>(&paragraph.content[i - 1]);
      const auto* right = std::get_if<TextRun>(&paragraph.content[i]);
      if (left != nullptr && right != nullptr && left->format == right->format) return true;
    }
  }
  return false;
}

struct RecolourCase {
  std::size_t start;
  std::size_t length;
  const char* colours;
  std::size_t runs;
};

void PrintTo(const RecolourCase& c, std::ostream* os) { *os << testing::Printable(std::to_string(c.start) + "_" + std::to_string(c.length)); }

class RecoloursARange : public ::testing::TestWithParam<RecolourCase> {};

// "ab" plain, "cd" bold, "ef" plain, break, "g", picture, "h": ten positions.
const char* const kBody = "ab\\b cd\\b0 ef\\par g{\\pict\\pngblip 00}h";

TEST_P(RecoloursARange, SplittingAndMergingRuns) {
  Document document = testing::ReadBody(kBody);
  Recolour(document, GetParam().start, GetParam().length, kRed);
  EXPECT_EQ(ColourMap(document), GetParam().colours);
  EXPECT_EQ(testing::AllRuns(document).size(), GetParam().runs);
  EXPECT_FALSE(HasEqualNeighbours(document));
  EXPECT_EQ(PlainTextUtf8(document), "abcdef\ng\uFFFCh");
}

INSTANTIATE_TEST_SUITE_P(Ranges, RecoloursARange,
                         ::testing::Values(RecolourCase{0, 10, "RRRRRRRRpR|R", 5},  // all, last mark too
                                           RecolourCase{1, 2, "-RR-----p-|-", 7},   // across a run boundary
                                           RecolourCase{3, 4, "---RRRR-p-|-", 6},   // across the break
                                           RecolourCase{2, 2, "--RR----p-|-", 5},   // one whole run
                                           RecolourCase{8, 100, "--------pR|R", 5}, // clamped to the end
                                           RecolourCase{0, 1, "R-------p-|-", 6},
                                           RecolourCase{10, 1, "--------p-|-", 5},  // nothing after the end
                                           RecolourCase{4, 0, "--------p-|-", 5}));

TEST(Recolour, ColouringTwiceMergesTheRunsBack) {
  Document document = testing::ReadBody(kBody);
  Recolour(document, 1, 2, kRed);
  Recolour(document, 0, 10, kRed);
  EXPECT_EQ(testing::AllRuns(document).size(), 5u);
  EXPECT_FALSE(HasEqualNeighbours(document));
}

TEST(ApplyFont, SetsEveryRunAndMarkAndReusesAKnownFont) {
  Document document = testing::ReadBody("{\\fonttbl{\\f0 A;}{\\f1 B;}}\\f0 x\\f1\\fs40 y\\par z");
  ApplyFont(document, Font{"B"}, 20);
  EXPECT_EQ(document.fonts.size(), 2u);
  const auto runs = testing::AllRuns(document);
  ASSERT_EQ(runs.size(), 2u);  // "x" and "y" are now one run
  for (const auto& run : runs) {
    EXPECT_EQ(run.format.font, 1u);
    EXPECT_EQ(run.format.halfPoints, 20);
  }
  EXPECT_EQ(document.paragraphs[0].markFormat.font, 1u);
}

}  // namespace
}  // namespace zorv::richtext
