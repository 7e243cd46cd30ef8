// The report as the window builds it from start-up's result: display settings
// from Zorv.inf, the template filled and coloured, the pictures put in on the
// first activation, the report saved and Zorv.inf written on the way out.
#include "window/report_form.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

#include "startup/basic_text.h"
#include "startup/startup.h"
#include "support/golden_file.h"
#include "support/small_collection.h"
#include "support/temp_folder.h"
#include "window/report_filling.h"
#include "window/report_template.h"
#include "window/usage_sheet.h"

namespace zorv {
namespace {

using testing::TempFolder;

constexpr ScreenMetrics kScreen{1024 * 15, 768 * 15, 15.0f, 15.0f};

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// Start-up over the small collection, then the form loaded.
struct Loaded {
  TempFolder dir;
  SharedState state;
  std::optional<ReportForm> form;
  explicit Loaded(const std::string& zorvInf, const std::string& command = "gng",
                  const std::vector<std::pair<std::string, std::string>>& files = {}) {
    testing::WriteSmallCollection(dir);
    if (!zorvInf.empty()) dir.Write("Zorv.inf", zorvInf);
    for (const auto& [name, bytes] : files) dir.Write(name, bytes);
    state.ProgramFolder = dir.Str();
    EXPECT_NE(Main(state, command), StartupOutcome::SilentStop);
    form.emplace(state, kScreen, RegionalSettings{false, "C"});
    form->Load();
  }
  std::string Local(std::string_view text) const { return ReplaceAll(text, dir.Str(), "@"); }
  std::string Log() const {
    const std::string log = dir.Exists("Zorv.Log.txt") ? dir.Read("Zorv.Log.txt") : "";
    return log.empty() ? "" : " !" + ReplaceAll(log.substr(log.find("\r\n") + 2), "\r\n", "");
  }
  // Window and report in twips, font, colours, flags, centred place.
  std::string Display() const {
    const WindowLayout& w = form->Layout();
    const SharedState& s = state;
    char colours[32];
    std::snprintf(colours, sizeof colours, " %06X/%06X ", s.ForeColor, s.BackColor);
    std::string text = Number(w.Width) + "x" + Number(w.Height) + " " + Number(w.ReportLeft) + "," +
                       Number(w.ReportTop) + " " + Number(w.ReportWidth) + "x" + Number(w.ReportHeight) + " " +
                       s.FontName + " " + std::to_string(s.FontSize) + colours;
    for (auto [on, letter] : {std::pair{s.NoImage, 'I'}, {s.NoTitle, 'T'}, {s.NoSnap, 'S'}, {s.NoMarquee, 'M'},
                              {s.NoCabinet, 'C'}, {s.NoCpanel, 'P'}, {s.NoFlyer, 'F'}, {s.OnTop, 'o'}, {s.Center, 'c'}}) {
      if (on) text += letter;
    }
    if (const auto at = form->CentredPosition()) text += " at " + std::to_string(at->Left) + "," + std::to_string(at->Top);
    return text + Log();
  }
};

TEST(ReportForm, ZorvInfGivesTheWindowsSizeFontColoursAndFlags) {
  const struct {
    std::string zorvInf;
    std::string expected;
  } rows[] = {
      {"", "15360x11520 100,100 15160x11320 Arial 20 00FF00/000000 "},
      {"width = 800 \r\nHeight=600\r\nFont= Courier New\r\nSize=10.5\r\nColor=purple\r\nBackColor= white \r\ncenter\r\n"
       "NoCabinets\r\n  noSnap \r\nCenter=1\r\n", "12000x9000 100,100 11800x8800  Courier New 21 000000/FFFFFF Sc at 1680,684"},
      {"Width=40\r\nHeight=30\r\nSize=x\r\n", "600x450 0,0 7935x6015 Arial 0 00FF00/000000 "},
      {"Width=42\r\nHeight=31.4\r\n", "630x471 0,100 7935x271 Arial 20 00FF00/000000 "},
      {"Width=42.1\r\nHeight=31.3\r\n", "631.5x469.5 100,0 431.5x6015 Arial 20 00FF00/000000 "},
      {"Width=800\r\nSize=2e9\r\nColor=red\r\n", "800x768 0,0 7935x6015 Arial 20 00FF00/000000  !ERROR E - 6"},
      {"NOIMAGE\r\nnotitle\r\nNoFlyer\r\nnomarquee\r\nnocpanel\r\nOnTop\r\nNoCabinet\r\nnosnap=1\r\n",
       "15360x11520 100,100 15160x11320 Arial 20 00FF00/000000 ITMCPFo"},
      {"Color=WHITE\r\nBackColor= black \r\n", "15360x11520 100,100 15160x11320 Arial 20 FFFFFF/000000 "},
      {"Color=red\r\nBackColor=Green\r\n", "15360x11520 100,100 15160x11320 Arial 20 0000FF/00FF00 "},
      {"Color=BLUE\r\nBackColor=cyan\r\n", "15360x11520 100,100 15160x11320 Arial 20 FF0000/FFFF00 "},
      {"Color=MAGENTA\r\nBackColor=yellow\r\n", "15360x11520 100,100 15160x11320 Arial 20 FF00FF/00FFFF "},
      {"Color=\r\nBackColor=purple\r\nColor=Black\r\n", "15360x11520 100,100 15160x11320 Arial 20 000000/000000 "},
  };
  for (const auto& row : rows) EXPECT_EQ(Loaded(row.zorvInf).Display(), row.expected) << row.zorvInf;
  // The usage sheet keeps the screen's size and is white whatever the colour asked.
  EXPECT_EQ(Loaded("Width=800\r\nColor=red\r\ncenter\r\n", "").Display(),
            "15360x11520 100,100 15160x11320 Arial 20 FFFFFF/000000 c at 0,0");
}

TEST(ReportForm, NumbersAreReadAsTheyBeginWhateverFollows) {
  // Each Width= value, then the width it gives in pixels or the failure logged.
  const std::vector<std::vector<std::string>> rows = {
      {"", "0", "abc", "0", "12", "12", "  12", "12", "\t1\n2 3x", "123", "-7", "-7", "+7", "7", "1.5", "1.5", ".5", "0.5"},
      {"1.", "1", "1e3", "1000", "1E+2;x", "100", "2.5e-1", "0.25", "1e", "1", "1d2", "100", "12,34", "12", "7;B", "7"},
      {"&H10", "16", "&hff", "255", "&O17", "15", "&HFFFF", "-1", "&H10000", "65536", "&HFFFFFFFF", "-1", "&H", "0"},
      {"&X1", "0", "- 5", "-5", "1,2", "1", "--1", "0", "1.2.3", "1.2", "&o8", "0", "&HfF", "255", "&Hg", "0", "9e", "9"},
      {"1e-", "1", "1e+5x", "100000", "1e999", " !ERROR E - 6", "&H100000000", " !ERROR E - 6"},
  };
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < row.size(); i += 2) {
      const Loaded loaded("Width=" + row[i] + "\r\n");
      const std::string log = loaded.Log();
      EXPECT_EQ(log.empty() ? Number(loaded.form->Layout().Width / 15) : log, row[i + 1]) << row[i];
    }
  }
}

TEST(ReportForm, BuiltInTemplatesAndUsageSheetAreTheGoldenOnes) {
  testing::ExpectGolden("template-english.rtf", BuildDefaultTemplate(1, "Arial", 20));
  testing::ExpectGolden("template-french.rtf", BuildDefaultTemplate(0, "Arial", 20));
  testing::ExpectGolden("usage-sheet.txt", UsageText());
  EXPECT_EQ(BuildDefaultTemplate(-5, "Arial", 20), BuildDefaultTemplate(1, "Arial", 20));
  const std::string french = BuildDefaultTemplate(0, "Verdana", 24);
  EXPECT_NE(french.find("Verdana;}} {\\*\\generator Msftedit 5.41.15.1507;}\\viewkind4\\uc1\\pard\\b\\f0\\fs32  #TITLE\\par \\b0\\fs24\\par "),
            std::string::npos);
}

TEST(ReportForm, TemplateIsTheUsersFileUnlessDefaultRtfRewritesIt) {
  TempFolder dir;
  SharedState state;
  state.ProgramFolder = dir.Str(), state.Language = -1, state.FontName = "Arial", state.FontSize = 20;
  EXPECT_EQ(GetReportTemplate(state), BuildDefaultTemplate(1, "Arial", 20));
  EXPECT_EQ(state.Language, 1);
  const std::string user("not RTF at all \xe9\r\n\0x", 20);
  dir.Write("zorv.RTF", user);
  EXPECT_EQ(GetReportTemplate(state), user);
  dir.Write("zorv.RTF", "");
  EXPECT_EQ(GetReportTemplate(state), "");
  state.DefaultRtf = true;
  EXPECT_EQ(GetReportTemplate(state), BuildDefaultTemplate(1, "Arial", 20));
  state.FontSize = 2147483647;
  EXPECT_EQ(GetReportTemplate(state), "");
  EXPECT_TRUE(dir.Read("Zorv.Log.txt").ends_with("\r\nERROR J - 6\r\n"));

  // /defaultrtf writes the built-in template with the built-in font, keeping the former one.
  const Loaded loaded("Font=Verdana\r\nSize=12\r\nLanguage=0\r\n", "gng /defaultrtf", {{"Zorv.rtf", "mine"}, {"Zorv.bak", "old"}});
  EXPECT_EQ(loaded.dir.Read("Zorv.bak"), "mine");
  EXPECT_EQ(loaded.dir.Read("Zorv.rtf"), BuildDefaultTemplate(0, "Arial", 20));
  EXPECT_EQ(loaded.state.FontName + std::to_string(loaded.state.FontSize), "Verdana24");
  EXPECT_NE(loaded.form->Report().Text().find("\n Nom de la Rom : gng\n"), std::string::npos);
}

TEST(ReportForm, EveryTagGetsItsValueInTheOrderThatDecidesWhatIsSearchedAgain) {
  SharedState s;
  s.RomName = "gng", s.GameTitle = "T #YEAR", s.CloneOf = "parent", s.Manufacturer = "Maker", s.Year = "1985";
  s.Orientation = "Horizontal", s.Buttons = "2", s.Controls = "Joystick", s.DriverStatus = "imperfect";
  s.Genre = "Platform", s.Category = "Platform / Run", s.VersionAdded = "0.37", s.Driver = "d", s.Players = "2P alt";
  s.SaveState = "Supported", s.HasCheat = true, s.RomAvailable = true, s.NotesText = "about #TITLE\r\nnext";
  s.HistoryText = "Intro\r\n- TRIVIA -\r\nMore\rlone";
  EXPECT_EQ(FillReportText("#TITLE|#ROMNAME|#GOTIT|#MANUFACTURER|#YEAR|#GENRE|#CATEGORY|#MATURE|#NPLAYERS|#SAVESTATE|"
                           "#HIGHSCORE|#CHEAT|#DRIVERSTATUS/#DRIVER|#CLONES|#ORIENTATION|#CONTROLS|#BUTTONS|#VERADDED|"
                           "#MYNOTES|#HISTORY|#MAMEINFO x #MAMEINFO|#SNAP|#FLYER|- SCORING -- STAFF -- TECHNICAL -"
                           "- SERIES -- SOURCES -- TIPS AND TRICKS -- PORTS -- UPDATES -",
                           s, RegionalSettings{false, "C"}),
            "T #YEAR|gng|True|Maker|1985|Platform|Platform / Run|False|2P alt|Supported|False|True|imperfect/d|parent|"
            "Horizontal|Joystick|2|0.37|about T #YEAR\\par next|\\b HISTORY \\b0 \\par Intro\\par \\b - TRIVIA -\\b0 "
            "\\par More\rlone|\\b MAMEINFO \\b0 \\par  x \\b MAMEINFO \\b0 \\par |#SNAP|#FLYER|\\b - SCORING -\\b0 "
            "\\b - STAFF -\\b0 \\b - TECHNICAL -\\b0 \\b - SERIES -\\b0 \\b - SOURCES -\\b0 \\b - TIPS AND TRICKS -\\b0 "
            "\\b - PORTS -\\b0 \\b - UPDATES -\\b0 ");
  EXPECT_EQ(FillReportText("#CHEAT #MATURE #GOTIT #HIGHSCORE", s, RegionalSettings{true, "C"}), "Vrai Faux Vrai Faux");
}

// Puts each loaded file's name where its picture would go.
class NamingPictures final : public PictureSource {
 public:
  void LoadPictureFile(const std::string& path) override { loaded.push_back(path.substr(path.rfind('/') + 1)); }
  std::string PictureToRtf() override { return loaded.back(); }
  std::vector<std::string> loaded;
};

struct Activated {
  TempFolder dir;
  SharedState state;
  ReportForm form{state, kScreen, RegionalSettings{false, "C"}};
  NamingPictures pictures;
  explicit Activated(const std::string& command = "") {
    state.ProgramFolder = dir.Str(), state.RomName = "gng", state.RomKey = "gng;", state.Language = 1;
    for (auto [word, flag] : {std::pair{"/noimage", &SharedState::NoImage}, {"/nosnap", &SharedState::NoSnap},
                              {"/notitle", &SharedState::NoTitle}, {"/noflyer", &SharedState::NoFlyer},
                              {"/nomarquee", &SharedState::NoMarquee}, {"/nocabinet", &SharedState::NoCabinet},
                              {"/nocpanel", &SharedState::NoCpanel}}) {
      state.*flag = command.find(word) != std::string::npos;
    }
    for (std::size_t i = 1; i <= 6; ++i) state.ImagePath[i] = dir.Str() + "/p" + std::to_string(i);
    dir.Write("Zorv.rtf", "{\\rtf1 #SNAP|#SNAP|#FLYER|#SCRTITLE|#MARQUEE|#CABINET|#CPO|#MYNOTES}");
    state.NotesText = "#FLYER";
    form.Load();
  }
};

TEST(ReportForm, FirstActivationPutsEachPictureInOnceAndSaves) {
  const struct {
    const char* command;
    const char* text;  // the pictures named in the text's order
    std::size_t loads;
  } rows[] = {
      {"", "p2|p2|p6|p1|p3|p4|p5|p6", 6}, {"/nosnap", "||p6|p1|p3|p4|p5|p6", 5},  // the notes' tag too
      {"/notitle /noflyer", "p2|p2|||p3|p4|p5|", 4}, {"/nomarquee /nocabinet /nocpanel", "p2|p2|p6|p1||||p6", 3},
      {"/noimage", "|||||||", 0},
  };
  for (const auto& row : rows) {
    Activated a(row.command);
    a.state.SavePath = a.dir.Str() + "/";
    a.form.Activate(a.pictures);
    EXPECT_EQ(a.form.Report().Text(), row.text) << row.command;
    EXPECT_EQ(a.pictures.loaded.size(), row.loads) << row.command;
    EXPECT_EQ(a.dir.Read("ZRV_gng.rtf"), a.form.Report().TextRTF());
    EXPECT_TRUE(a.form.AlreadyActivated());
    a.form.Activate(a.pictures);
    EXPECT_EQ(a.pictures.loaded.size(), row.loads);
  }
}

TEST(ReportForm, ClosingStopsTheLoadingAndASaveFailureIsLoggedAsG) {
  Activated closing;
  int events = 0;
  closing.form.Activate(closing.pictures, [&events] { return ++events < 3; });
  EXPECT_EQ(closing.pictures.loaded.size(), 2u);
  EXPECT_FALSE(closing.form.AlreadyActivated());
  Activated failing;
  failing.state.SavePath = failing.dir.Str() + "/missing/folder/";
  failing.form.Activate(failing.pictures);
  EXPECT_TRUE(failing.form.AlreadyActivated());
  EXPECT_TRUE(failing.dir.Read("Zorv.Log.txt").ends_with("\r\nERROR G - 75\r\n"));
}

TEST(ReportForm, UnloadWritesTheSeventeenLinesOfZorvInfOnlyWhenThereIsNone) {
  Loaded loaded("");
  loaded.state.ImagePath = {"", loaded.dir.Str() + "\\pics\\t\\gng.png", "", "c:\\m\\", "nofolder",
                            loaded.dir.Str() + "\\pics\\c\\gng.gif", "c:\\f\\gng.jpg"};
  loaded.state.SavePath = "c:\\save\\";
  loaded.state.Language = 0;
  loaded.state.FontSize = 21;
  loaded.state.BackColor = 0x123456;
  std::filesystem::remove(loaded.dir.Path() / "Zorv.inf");
  loaded.form->Unload();
  EXPECT_EQ(loaded.Local(loaded.dir.Read("Zorv.inf")),
            "IndexPath=@\\datafiles\\index.\r\nHistoryPath=@\\datafiles\\history.dat\r\n"
            "MameinfoPath=@\\datafiles\\mameinfo.dat\r\nTitlesPath=@\\pics\\t\\\r\nSnapPath=\r\nMarqueesPath=c:\\m\\\r\n"
            "CabinetsPath=nofolder\r\nCpanelPath=@\\pics\\c\\\r\nFlyersPath=c:\\f\\\r\nSavePath=c:\\save\\\r\n"
            "Language=0\r\nWidth=1024\r\nHeight=768\r\nFont=Arial\r\nSize=10.5\r\nColor=Green\r\nBackColor=\r\n");
  loaded.dir.Write("zorv.inf", "mine");
  std::filesystem::remove(loaded.dir.Path() / "Zorv.inf");
  loaded.state.SavePath.clear();
  loaded.state.FontSize = 20;
  loaded.form->Unload();
  EXPECT_EQ(loaded.dir.Read("zorv.inf"), "mine");
  std::filesystem::remove(loaded.dir.Path() / "zorv.inf");
  loaded.form->Unload();
  EXPECT_EQ(loaded.dir.Read("Zorv.inf").find("SavePath"), std::string::npos);
  EXPECT_NE(loaded.dir.Read("Zorv.inf").find("\r\nSize=10\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zorv
