#include "window/report_template.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace zorv {
namespace {

using testing::TempFolder;

const char* const kEnglish =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}} "
    "{\\*\\generator Msftedit 5.41.15.1507;}\\viewkind4\\uc1\\pard\\b\\f0\\fs28 #TITLE\\par \\b0\\fs20\\par "
    "Name of Rom : #ROMNAME\\par Rom available : #GOTIT\\par \\par Manufacturer : #MANUFACTURER\\par "
    "Year : #YEAR\\par Genre : #GENRE\\par Category : #CATEGORY\\par Mature : #MATURE\\par "
    "Number of players : #NPLAYERS\\par \\par Savestate driver : #SAVESTATE\\par "
    "Highscore.dat support : #HIGHSCORE\\par Cheat.dat support : #CHEAT\\par \\par Driver : #DRIVER\\par \\par "
    "Driver status : #DRIVERSTATUS\\par \\par Clone of : #CLONES\\par \\par Orientation : #ORIENTATION\\par \\par "
    "Controls : #CONTROLS\\par Buttons : #BUTTONS\\par \\par Version added : #VERADDED\\par \\par Notes :\\par "
    "#MYNOTES\\par \\par Flyer :\\par #FLYER\\par \\par Title screen :\\par #SCRTITLE\\par \\par "
    "#HISTORY\\par \\par Marquee :\\par #MARQUEE\\par \\par #MAMEINFO\\par \\par Cabinet :\\par "
    "#CABINET\\par \\par Snap :\\par #SNAP\\par \\par CPO:\\par #CPO\\par \\par }";

const char* const kFrench =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fcharset0 Verdana;}} "
    "{\\*\\generator Msftedit 5.41.15.1507;}\\viewkind4\\uc1\\pard\\b\\f0\\fs32  #TITLE\\par \\b0\\fs24\\par "
    " Nom de la Rom : #ROMNAME\\par  Rom disponible : #GOTIT\\par \\par  \\'c9diteur : #MANUFACTURER\\par "
    " Ann\\'e9e : #YEAR\\par  Genre : #GENRE\\par  Cat\\'e9gorie : #CATEGORY\\par  Class\\'e9 adulte : #MATURE\\par "
    " Nombre de joueurs : #NPLAYERS\\par \\par  Support Savestate : #SAVESTATE\\par "
    " Support Highscore.dat : #HIGHSCORE\\par  Support Cheat.dat : #CHEAT\\par \\par  Driver : #DRIVER\\par \\par "
    " Statut du driver : #DRIVERSTATUS\\par \\par  Clone de : #CLONES\\par \\par  Orientation : #ORIENTATION\\par "
    "\\par  Contr\\'f4leurs : #CONTROLS\\par  Boutons : #BUTTONS\\par \\par  Ajout\\'e9 dans MAME : #VERADDED\\par "
    "\\par Notes personnelles :\\par #MYNOTES\\par \\par  Flyer :\\par  #FLYER\\par \\par  \\'c9cran titre :\\par "
    " #SCRTITLE\\par \\par #HISTORY\\par \\par  Marquee :\\par  #MARQUEE\\par \\par #MAMEINFO\\par \\par "
    " Borne :\\par  #CABINET\\par \\par  Snap :\\par  #SNAP\\par \\par  CPO:\\par  #CPO\\par \\par }";

TEST(DefaultTemplate, EnglishAndFrenchPieceByPiece) {
  EXPECT_EQ(BuildDefaultTemplate(1, "Arial", 20), kEnglish);
  EXPECT_EQ(BuildDefaultTemplate(-5, "Arial", 20), kEnglish);
  EXPECT_EQ(BuildDefaultTemplate(0, "Verdana", 24), kFrench);
}

struct TemplateTest : ::testing::Test {
  TempFolder dir;
  SharedState state;
  void SetUp() override {
    state.ProgramFolder = dir.Str();
    state.FontName = "Arial";
    state.FontSize = 20;
    state.Language = -1;
  }
};

TEST_F(TemplateTest, UserTemplateIsTakenByteForByteUnlessDefaultRtf) {
  EXPECT_EQ(GetReportTemplate(state), kEnglish);
  EXPECT_EQ(state.Language, 1);
  const std::string user("not RTF at all \xe9\r\n\0x", 20);
  dir.Write("zorv.RTF", user);
  EXPECT_EQ(GetReportTemplate(state), user);
  dir.Write("zorv.RTF", "");
  EXPECT_EQ(GetReportTemplate(state), "");
  state.DefaultRtf = true;
  EXPECT_EQ(GetReportTemplate(state), kEnglish);
}

TEST_F(TemplateTest, WriteDefaultTemplateKeepsTheFormerFileAsBackup) {
  dir.Write("Zorv.rtf", "mine");
  dir.Write("Zorv.bak", "older");
  state.DefaultRtf = true;
  state.Language = 0;
  WriteDefaultTemplate(state);
  EXPECT_EQ(dir.Read("Zorv.bak"), "mine");
  EXPECT_EQ(dir.Read("Zorv.rtf"), BuildDefaultTemplate(0, "Arial", 20));
}

TEST_F(TemplateTest, OverflowingSizeIsLoggedAsJAndGivesAnEmptyTemplate) {
  state.FontSize = 2147483647;
  EXPECT_EQ(GetReportTemplate(state), "");
  EXPECT_NE(dir.Read("Zorv.Log.txt").find("\r\nERROR J - 6\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zorv
