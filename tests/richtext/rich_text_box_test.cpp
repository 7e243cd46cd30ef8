#include "richtext/rich_text_box.h"

#include <gtest/gtest.h>

#include "document_text.h"
#include "platform/run_time_error.h"
#include "support/temp_folder.h"

namespace zorv::richtext {
namespace {

struct PlainCase {
  std::string bytes;
  std::string text;  // UTF-8
  std::size_t paragraphs;
};

void PrintTo(const PlainCase& c, std::ostream* os) { *os << testing::Printable(c.bytes); }

class TakesNonRtfAsPlainText : public ::testing::TestWithParam<PlainCase> {};

TEST_P(TakesNonRtfAsPlainText, LineEndsBreakParagraphs) {
  RichTextBox box;
  box.SetTextRTF(GetParam().bytes);
  EXPECT_EQ(box.Text(), GetParam().text);
  EXPECT_EQ(box.Content().paragraphs.size(), GetParam().paragraphs);
}

INSTANTIATE_TEST_SUITE_P(
    LineEnds, TakesNonRtfAsPlainText,
    ::testing::Values(PlainCase{"a\r\nb", "a\nb", 2}, PlainCase{"a\rb", "a\nb", 2}, PlainCase{"a\nb", "a\nb", 2},
                      PlainCase{"a\r\n\r\nb\r\n", "a\n\nb\n", 4}, PlainCase{"a\n\rb", "a\n\nb", 3},
                      PlainCase{"\xc9t\xe9 \x80", "\u00C9t\u00E9 \u20AC", 1}, PlainCase{"a\\par {b}", "a\\par {b}", 1},
                      PlainCase{"{\\RTF1 x}", "{\\RTF1 x}", 1}, PlainCase{" {\\rtf1 x}", " {\\rtf1 x}", 1},
                      PlainCase{"", "", 1}));

TEST(RichTextBox, ShowsPlainTextInItsFont) {
  RichTextBox box;
  box.SetFont("Courier New", 10);
  box.SetTextRTF(" [Press 'ESC' key to exit]\r\n\r\n Zorvane");
  const Document& document = box.Content();
  ASSERT_EQ(document.fonts.size(), 1u);
  EXPECT_EQ(document.fonts[0].name, "Courier New");
  for (const auto& run : testing::AllRuns(document)) EXPECT_EQ(run.format.halfPoints, 20);
  EXPECT_EQ(box.TextLength(), 36u);
}

TEST(RichTextBox, SetFontReachesTextAlreadyThereAndKeepsSizesInRange) {
  RichTextBox box;
  box.SetText("x");
  box.SetFont(" Verdana; ", 8.25);
  EXPECT_EQ(box.FontName(), "Verdana");
  EXPECT_EQ(box.FontSize(), 8.5);  // 16.5 half-points round to 17
  EXPECT_EQ(testing::AllRuns(box.Content())[0].format.halfPoints, 17);
  box.SetFont("Huge", 1e12);
  EXPECT_EQ(box.FontSize(), kLargestHalfPoints / 2.0);
}

TEST(RichTextBox, SelectionIsClampedToTheText) {
  RichTextBox box;
  box.SetText("hello\nworld");  // eleven characters
  box.SetSelStart(3);
  box.SetSelLength(100);
  EXPECT_EQ(box.SelLength(), 8u);
  box.SetSelStart(50);
  EXPECT_EQ(box.SelStart(), 11u);
  EXPECT_EQ(box.SelLength(), 0u);
  box.SetSelStart(2);
  box.SetSelLength(3);
  box.SetTextRTF("{\\rtf1 new}");
  EXPECT_EQ(box.SelStart(), 0u);
  EXPECT_EQ(box.SelLength(), 0u);
}

TEST(RichTextBox, ColoursTheWholeReportTheWayTheWindowDoes) {
  RichTextBox box;
  box.SetTextRTF("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\b\\f0\\fs28 #TITLE\\par \\b0\\fs20\\par A\\par \\par }");
  const auto revision = box.Revision();
  box.SetSelStart(0);
  box.SetSelLength(box.TextLength());
  box.SetSelColor(0x0000FF);
  box.SetSelLength(0);
  EXPECT_GT(box.Revision(), revision);
  for (const auto& run : testing::AllRuns(box.Content())) EXPECT_EQ(run.format.colour, Colour{0x0000FF});
  for (const auto& paragraph : box.Content().paragraphs) EXPECT_EQ(paragraph.markFormat.colour, Colour{0x0000FF});
  const std::string rtf = box.TextRTF();
  EXPECT_NE(rtf.find("{\\colortbl ;\\red255\\green0\\blue0;}"), std::string::npos);
  EXPECT_NE(rtf.find("\\pard\\f0\\fs28\\b\\cf1#TITLE\\par"), std::string::npos) << rtf;
  EXPECT_EQ(rtf.find("\\cf0"), std::string::npos);  // no colour switches back and forth
}

TEST(RichTextBox, KeepsTheBackgroundOutOfTheRtf) {
  RichTextBox box;
  box.SetBackColor(0x123456);
  box.SetTextRTF("{\\rtf1 x}");
  EXPECT_EQ(box.BackColor(), 0x123456);
  EXPECT_EQ(box.TextRTF().find("\\red"), std::string::npos);
}

TEST(RichTextBox, SavesItsRtfThroughTheFileLayer) {
  const zorv::testing::TempFolder folder;
  folder.Write("out/keep.txt", "");
  RichTextBox box;
  box.SetTextRTF("{\\rtf1 saved {\\pict\\pngblip 0102}}");
  box.SaveFile(folder.Str() + "\\OUT\\ZRV_gng.rtf");
  EXPECT_EQ(folder.Read("out/ZRV_gng.rtf"), box.TextRTF());
  RichTextBox reread;
  reread.SetTextRTF(folder.Read("out/ZRV_gng.rtf"));
  EXPECT_EQ(reread.Content(), box.Content());
}

TEST(RichTextBox, SaveToAMissingFolderFailsWithNumber75) {
  const zorv::testing::TempFolder folder;
  RichTextBox box;
  try {
    box.SaveFile(folder.Str() + "\\missing\\ZRV_gng.rtf");
    FAIL() << "saved into a folder that does not exist";
  } catch (const RunTimeError& failure) {
    EXPECT_EQ(failure.Number(), 75);
  }
}

}  // namespace
}  // namespace zorv::richtext
