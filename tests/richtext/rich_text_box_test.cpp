// The rich-text box as the report uses it: text that is not RTF, its font,
// the selection, colouring a range, saving; and the hex digits of pictures.
#include "richtext/rich_text_box.h"

#include <gtest/gtest.h>

#include "document_text.h"
#include "platform/run_time_error.h"
#include "richtext/document_edit.h"
#include "richtext/hex_decoder.h"
#include "support/temp_folder.h"

namespace zorv::richtext {
namespace {

TEST(RichTextBox, TakesTextThatIsNotRtfAsPlainTextInItsFont) {
  const struct {
    std::string bytes;
    std::string text;  // UTF-8
    std::size_t paragraphs;
  } rows[] = {
      {"a\r\nb", "a\nb", 2}, {"a\rb", "a\nb", 2}, {"a\nb", "a\nb", 2}, {"a\r\n\r\nb\r\n", "a\n\nb\n", 4},
      {"a\n\rb", "a\n\nb", 3}, {"\xc9t\xe9 \x80", "\u00C9t\u00E9 \u20AC", 1}, {"a\\par {b}", "a\\par {b}", 1},
      {"{\\RTF1 x}", "{\\RTF1 x}", 1}, {" {\\rtf1 x}", " {\\rtf1 x}", 1}, {"", "", 1},
  };
  for (const auto& row : rows) {
    RichTextBox box;
    box.SetFont("Courier New", 10);
    box.SetTextRTF(row.bytes);
    EXPECT_EQ(box.Text(), row.text);
    EXPECT_EQ(box.Content().paragraphs.size(), row.paragraphs) << row.bytes;
    EXPECT_EQ(box.Content().fonts, std::vector<Font>{Font{"Courier New"}});
    for (const auto& run : testing::AllRuns(box.Content())) EXPECT_EQ(run.format.halfPoints, 20);
  }
  RichTextBox box;
  box.SetTextRTF(" [Press 'ESC' key to exit]\r\n\r\n Zorvane");
  EXPECT_EQ(box.TextLength(), 36u);
  box.SetFont(" Verdana; ", 8.25);
  EXPECT_EQ(box.FontName() + std::to_string(box.FontSize()), "Verdana8.500000");  // 16.5 half-points round to 17
  EXPECT_EQ(testing::AllRuns(box.Content())[0].format.halfPoints, 17);
  box.SetFont("Huge", 1e12);
  EXPECT_EQ(box.FontSize(), kLargestHalfPoints / 2.0);
}

TEST(RichTextBox, SelectionIsClampedAndColouringItReachesEveryRunAndMark) {
  RichTextBox box;
  box.SetText("hello\nworld");  // eleven characters
  box.SetSelStart(3);
  box.SetSelLength(100);
  EXPECT_EQ(box.SelLength(), 8u);
  box.SetSelStart(50);
  EXPECT_EQ(box.SelStart() * 100 + box.SelLength(), 1100u);
  box.SetSelStart(2);
  box.SetSelLength(3);
  box.SetBackColor(0x123456);
  box.SetTextRTF("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\b\\f0\\fs28 #TITLE\\par \\b0\\fs20\\par A\\par \\par }");
  EXPECT_EQ(box.SelStart() + box.SelLength(), 0u);
  const auto revision = box.Revision();
  box.SetSelLength(box.TextLength());
  box.SetSelColor(0x0000FF);
  EXPECT_GT(box.Revision(), revision);
  EXPECT_EQ(testing::Dump(box.Content()), "<b28c0000FF>#TITLE\n\n<20c0000FF>A\n\n");
  for (const auto& paragraph : box.Content().paragraphs) EXPECT_EQ(paragraph.markFormat.colour, Colour{0x0000FF});
  const std::string rtf = box.TextRTF();
  EXPECT_NE(rtf.find("{\\colortbl ;\\red255\\green0\\blue0;}"), std::string::npos);
  EXPECT_NE(rtf.find("\\pard\\f0\\fs28\\b\\cf1#TITLE\\par"), std::string::npos) << rtf;
  EXPECT_EQ(rtf.find("\\cf0"), std::string::npos);  // no colour switches back and forth
  EXPECT_EQ(box.BackColor(), 0x123456);              // the background stays out of the RTF
  EXPECT_EQ(rtf.find("\\red18"), std::string::npos);
}

TEST(RichTextBox, SavesItsRtfThroughTheFileLayerOrFailsWith75) {
  const zorv::testing::TempFolder folder;
  folder.Write("out/keep.txt", "");
  RichTextBox box;
  box.SetTextRTF("{\\rtf1 saved {\\pict\\pngblip 0102}}");
  box.SaveFile(folder.Str() + "\\OUT\\ZRV_gng.rtf");
  EXPECT_EQ(folder.Read("out/ZRV_gng.rtf"), box.TextRTF());
  try {
    box.SaveFile(folder.Str() + "\\missing\\ZRV_gng.rtf");
    ADD_FAILURE() << "saved into a folder that does not exist";
  } catch (const RunTimeError& failure) {
    EXPECT_EQ(failure.Number(), 75);
  }
}

// "ab" plain, "cd" bold, "ef" plain, break, "g", picture, "h": ten positions.
TEST(Recolour, SplitsAndMergesRunsAcrossBreaksAndPictures) {
  const struct {
    std::size_t start, length;
    const char* dump;
  } rows[] = {
      {0, 10, "<24c0000FF>ab<b24c0000FF>cd<24c0000FF>ef\ng[png0 0x0 0x0 100x100 00]h"},
      {1, 2, "<24>a<24c0000FF>b<b24c0000FF>c<b24>d<24>ef\ng[png0 0x0 0x0 100x100 00]h"},
      {3, 4, "<24>ab<b24>c<b24c0000FF>d<24c0000FF>ef\n<24>g[png0 0x0 0x0 100x100 00]h"},
      {2, 2, "<24>ab<b24c0000FF>cd<24>ef\ng[png0 0x0 0x0 100x100 00]h"},
      {8, 100, "<24>ab<b24>cd<24>ef\ng[png0 0x0 0x0 100x100 00]<24c0000FF>h"},
      {0, 1, "<24c0000FF>a<24>b<b24>cd<24>ef\ng[png0 0x0 0x0 100x100 00]h"},
      {10, 1, "<24>ab<b24>cd<24>ef\ng[png0 0x0 0x0 100x100 00]h"}, {4, 0, "<24>ab<b24>cd<24>ef\ng[png0 0x0 0x0 100x100 00]h"},
  };
  for (const auto& row : rows) {
    Document document = testing::ReadBody("ab\\b cd\\b0 ef\\par g{\\pict\\pngblip 00}h");
    Recolour(document, row.start, row.length, 0x0000FF);
    EXPECT_EQ(testing::Dump(document), row.dump) << row.start << "+" << row.length;
    Recolour(document, 0, 10, 0x0000FF);
    EXPECT_EQ(testing::AllRuns(document).size(), 5u);  // colouring it all merges the runs back
  }
  Document document = testing::ReadBody("{\\fonttbl{\\f0 A;}{\\f1 B;}}\\f0 x\\f1\\fs40 y\\par z");
  ApplyFont(document, Font{"B"}, 20);
  EXPECT_EQ(document.fonts.size(), 2u);
  EXPECT_EQ(testing::Dump(document), "<20f1>xy\nz");
  EXPECT_EQ(document.paragraphs[0].markFormat.font, 1u);
}

TEST(HexDecoder, StopsAtABackslashOrBraceAndKeepsAnOddDigitForTheNextStretch) {
  std::vector<std::uint8_t> out;
  HexDecoder decoder(out);
  EXPECT_EQ(decoder.Decode("0a0B\r\nFf}12"), 8u);
  EXPECT_EQ(decoder.Decode("\\bin"), 0u);
  EXPECT_EQ(decoder.Decode("0 1\t2\xff" "3{45"), 7u);
  EXPECT_EQ(decoder.Decode("0123456789abcdefABCDEF0123456789a") + decoder.Decode("bcdeg0123456789abcdef012345678"), 63u);
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0x0a, 0x0b, 0xff, 0x01, 0x23, 0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef, 0xab,
                                            0xcd, 0xef, 0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xe0, 0x12, 0x34, 0x56,
                                            0x78, 0x9a, 0xbc, 0xde, 0xf0, 0x12, 0x34, 0x56, 0x78}));
}

}  // namespace
}  // namespace zorv::richtext
