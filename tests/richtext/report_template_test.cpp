// The two built-in report templates, built here from their pieces, as the box
// reads them.
#include <gtest/gtest.h>

#include "document_text.h"
#include "richtext/rich_text_box.h"
#include "richtext/rtf_writer.h"

namespace zorv::richtext {
namespace {

struct Piece {
  const char* english;
  const char* french;  // nullptr: the same as the English piece
};

// Pieces 2, 5 and 7 are the font name and the two sizes.
const Piece kPieces[] = {
    {"{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fcharset0 ", nullptr},
    {"", nullptr},
    {";}} ", nullptr},
    {"{\\*\\generator Msftedit 5.41.15.1507;}\\viewkind4\\uc1\\pard\\b\\f0\\fs", nullptr},
    {"", nullptr},
    {" #TITLE\\par \\b0\\fs", "  #TITLE\\par \\b0\\fs"},
    {"", nullptr},
    {"\\par ", nullptr},
    {"Name of Rom : #ROMNAME\\par ", " Nom de la Rom : #ROMNAME\\par "},
    {"Rom available : #GOTIT\\par \\par ", " Rom disponible : #GOTIT\\par \\par "},
    {"Manufacturer : #MANUFACTURER\\par ", " \\'c9diteur : #MANUFACTURER\\par "},
    {"Year : #YEAR\\par ", " Ann\\'e9e : #YEAR\\par "},
    {"Genre : #GENRE\\par ", " Genre : #GENRE\\par "},
    {"Category : #CATEGORY\\par ", " Cat\\'e9gorie : #CATEGORY\\par "},
    {"Mature : #MATURE\\par ", " Class\\'e9 adulte : #MATURE\\par "},
    {"Number of players : #NPLAYERS\\par \\par ", " Nombre de joueurs : #NPLAYERS\\par \\par "},
    {"Savestate driver : #SAVESTATE\\par ", " Support Savestate : #SAVESTATE\\par "},
    {"Highscore.dat support : #HIGHSCORE\\par ", " Support Highscore.dat : #HIGHSCORE\\par "},
    {"Cheat.dat support : #CHEAT\\par \\par ", " Support Cheat.dat : #CHEAT\\par \\par "},
    {"Driver : #DRIVER\\par \\par ", " Driver : #DRIVER\\par \\par "},
    {"Driver status : #DRIVERSTATUS\\par \\par Clone of : #CLONES\\par \\par ",
     " Statut du driver : #DRIVERSTATUS\\par \\par  Clone de : #CLONES\\par \\par "},
    {"Orientation : #ORIENTATION\\par \\par Controls : #CONTROLS\\par ",
     " Orientation : #ORIENTATION\\par \\par  Contr\\'f4leurs : #CONTROLS\\par "},
    {"Buttons : #BUTTONS\\par \\par ", " Boutons : #BUTTONS\\par \\par "},
    {"Version added : #VERADDED\\par \\par ", " Ajout\\'e9 dans MAME : #VERADDED\\par \\par "},
    {"Notes :\\par ", "Notes personnelles :\\par "},
    {"#MYNOTES\\par \\par ", nullptr},
    {"Flyer :\\par ", " Flyer :\\par "},
    {"#FLYER\\par \\par ", " #FLYER\\par \\par "},
    {"Title screen :\\par ", " \\'c9cran titre :\\par "},
    {"#SCRTITLE\\par \\par ", " #SCRTITLE\\par \\par "},
    {"#HISTORY\\par \\par Marquee :\\par ", "#HISTORY\\par \\par  Marquee :\\par "},
    {"#MARQUEE\\par \\par #MAMEINFO\\par \\par ", " #MARQUEE\\par \\par #MAMEINFO\\par \\par "},
    {"Cabinet :\\par ", " Borne :\\par "},
    {"#CABINET\\par \\par ", " #CABINET\\par \\par "},
    {"Snap :\\par #SNAP\\par \\par CPO:\\par #CPO\\par \\par }", " Snap :\\par  #SNAP\\par \\par  CPO:\\par  #CPO\\par \\par }"},
};

std::string DefaultTemplate(bool french, const std::string& fontName, int fontSize) {
  std::string text;
  for (std::size_t i = 0; i < std::size(kPieces); ++i) {
    switch (i + 1) {
      case 2: text += fontName; break;
      case 5: text += std::to_string(fontSize + 8); break;
      case 7: text += std::to_string(fontSize); break;
      default: text += french && kPieces[i].french != nullptr ? kPieces[i].french : kPieces[i].english;
    }
  }
  return text;
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
