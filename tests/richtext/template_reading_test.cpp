// The two built-in report templates as the box reads them.
#include <gtest/gtest.h>

#include "document_text.h"
#include "richtext/rich_text_box.h"
#include "richtext/rtf_writer.h"
#include "window/report_template.h"

namespace zorv::richtext {
namespace {

std::string DefaultTemplate(bool french, const std::string& fontName, int fontSize) {
  return BuildDefaultTemplate(french ? 0 : 1, fontName, fontSize);
}

// The blank after the font table is text in the box's own font.
const char kEnglishText[] =
    " #TITLE\n\nName of Rom : #ROMNAME\nRom available : #GOTIT\n\nManufacturer : #MANUFACTURER\nYear : #YEAR\n"
    "Genre : #GENRE\nCategory : #CATEGORY\nMature : #MATURE\nNumber of players : #NPLAYERS\n\n"
    "Savestate driver : #SAVESTATE\nHighscore.dat support : #HIGHSCORE\nCheat.dat support : #CHEAT\n\n"
    "Driver : #DRIVER\n\nDriver status : #DRIVERSTATUS\n\nClone of : #CLONES\n\nOrientation : #ORIENTATION\n\n"
    "Controls : #CONTROLS\nButtons : #BUTTONS\n\nVersion added : #VERADDED\n\nNotes :\n#MYNOTES\n\nFlyer :\n"
    "#FLYER\n\nTitle screen :\n#SCRTITLE\n\n#HISTORY\n\nMarquee :\n#MARQUEE\n\n#MAMEINFO\n\nCabinet :\n"
    "#CABINET\n\nSnap :\n#SNAP\n\nCPO:\n#CPO\n\n";

const char kFrenchText[] =
    "  #TITLE\n\n Nom de la Rom : #ROMNAME\n Rom disponible : #GOTIT\n\n \u00C9diteur : #MANUFACTURER\n"
    " Ann\u00E9e : #YEAR\n Genre : #GENRE\n Cat\u00E9gorie : #CATEGORY\n Class\u00E9 adulte : #MATURE\n"
    " Nombre de joueurs : #NPLAYERS\n\n Support Savestate : #SAVESTATE\n Support Highscore.dat : #HIGHSCORE\n"
    " Support Cheat.dat : #CHEAT\n\n Driver : #DRIVER\n\n Statut du driver : #DRIVERSTATUS\n\n"
    " Clone de : #CLONES\n\n Orientation : #ORIENTATION\n\n Contr\u00F4leurs : #CONTROLS\n"
    " Boutons : #BUTTONS\n\n Ajout\u00E9 dans MAME : #VERADDED\n\nNotes personnelles :\n#MYNOTES\n\n"
    " Flyer :\n #FLYER\n\n \u00C9cran titre :\n #SCRTITLE\n\n#HISTORY\n\n Marquee :\n #MARQUEE\n\n"
    "#MAMEINFO\n\n Borne :\n #CABINET\n\n Snap :\n #SNAP\n\n CPO:\n #CPO\n\n";

struct TemplateCase {
  bool french;
  const char* plainText;
};

void PrintTo(const TemplateCase& c, std::ostream* os) { *os << testing::Printable(c.french ? "French" : "English"); }

class ReadsDefaultTemplate : public ::testing::TestWithParam<TemplateCase> {};

TEST_P(ReadsDefaultTemplate, WithItsTextFontAndSizes) {
  RichTextBox box;
  box.SetTextRTF(DefaultTemplate(GetParam().french, "Verdana", 24));
  EXPECT_EQ(box.Text(), GetParam().plainText);
  const Document& document = box.Content();
  ASSERT_EQ(document.fonts.size(), 1u);
  EXPECT_EQ(document.fonts[0], (Font{"Verdana", FontFamily::Swiss, 0}));
  const auto runs = testing::AllRuns(document);
  ASSERT_GE(runs.size(), 3u);
  EXPECT_EQ(runs[0].text, U" ");
  EXPECT_EQ(runs[0].format.halfPoints, 20);
  EXPECT_TRUE(runs[1].format.bold);
  EXPECT_EQ(runs[1].format.halfPoints, 32);
  for (std::size_t i = 2; i < runs.size(); ++i) {
    EXPECT_FALSE(runs[i].format.bold);
    EXPECT_EQ(runs[i].format.halfPoints, 24);
  }
  EXPECT_EQ(ReadRtf(WriteRtf(document)), document);
}

INSTANTIATE_TEST_SUITE_P(Languages, ReadsDefaultTemplate,
                         ::testing::Values(TemplateCase{false, kEnglishText}, TemplateCase{true, kFrenchText}));

}  // namespace
}  // namespace zorv::richtext
