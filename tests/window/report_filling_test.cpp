#include "window/report_filling.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

const RegionalSettings kEnglish{false, "en_GB.UTF-8"};
const RegionalSettings kFrench{true, "fr_FR.UTF-8"};

TEST(FillReportText, EveryTagGetsItsValue) {
  SharedState s;
  s.GameTitle = "Title";
  s.RomName = "gng";
  s.Manufacturer = "Maker";
  s.Year = "1985";
  s.Genre = "Platform";
  s.Category = "Platform / Run";
  s.Players = "2P alt";
  s.SaveState = "Supported";
  s.Driver = "gng.c";
  s.DriverStatus = "good";
  s.CloneOf = "parent";
  s.Orientation = "Horizontal";
  s.Controls = "Joystick";
  s.Buttons = "2";
  s.VersionAdded = "0.37";
  s.NotesText = "my notes";
  s.HasCheat = true;
  const std::string tmpl =
      "#TITLE|#ROMNAME|#GOTIT|#MANUFACTURER|#YEAR|#GENRE|#CATEGORY|#MATURE|#NPLAYERS|#SAVESTATE|#HIGHSCORE|"
      "#CHEAT|#DRIVER|#DRIVERSTATUS|#CLONES|#ORIENTATION|#CONTROLS|#BUTTONS|#VERADDED|#MYNOTES|#HISTORY|#MAMEINFO|"
      "#SNAP|#FLYER";
  EXPECT_EQ(FillReportText(tmpl, s, kEnglish),
            "Title|gng|False|Maker|1985|Platform|Platform / Run|False|2P alt|Supported|False|True|gng.c|good|parent|"
            "Horizontal|Joystick|2|0.37|my notes|\\b HISTORY \\b0 \\par |\\b MAMEINFO \\b0 \\par |#SNAP|#FLYER");
  EXPECT_EQ(FillReportText("#CHEAT #MATURE", s, kFrench), "Vrai Faux");
}

TEST(FillReportText, OrderOfReplacementDecidesWhatIsSearchedAgain) {
  SharedState s;
  s.GameTitle = "T #YEAR";
  s.Year = "1985";
  s.NotesText = "about #TITLE\r\nnext";
  s.Driver = "d";
  s.DriverStatus = "imperfect";
  s.HistoryText = "Intro\r\n- TRIVIA -\r\nMore\rlone";
  s.MameinfoText = "";
  EXPECT_EQ(FillReportText("#MYNOTES", s, kEnglish), "about T #YEAR\r\nnext");
  EXPECT_EQ(FillReportText("#DRIVERSTATUS/#DRIVER", s, kEnglish), "imperfect/d");
  EXPECT_EQ(FillReportText("#HISTORY", s, kEnglish),
            "\\b HISTORY \\b0 \\par Intro\\par \\b - TRIVIA -\\b0 \\par More\rlone");
  EXPECT_EQ(FillReportText("#MAMEINFO x #MAMEINFO", s, kEnglish),
            "\\b MAMEINFO \\b0 \\par  x \\b MAMEINFO \\b0 \\par ");
  EXPECT_EQ(FillReportText("- SCORING -- STAFF -", s, kEnglish), "\\b - SCORING -\\b0 \\b - STAFF -\\b0 ");
}

}  // namespace
}  // namespace zorv
