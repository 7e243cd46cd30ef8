// Start-up over real collection folders: each row writes its files into a fresh
// folder, runs start-up on a command text and compares what was gathered, the
// log included, as one line of text.
#include "startup/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "startup/basic_text.h"
#include "startup/command_line.h"
#include "startup/error_log.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

// A log header: what the run started at, as "<date> - <time>" on one line.
bool IsLogHeader(std::string_view line) {
  const auto dash = line.find(" - ");
  return dash != std::string_view::npos && dash > 0 && dash + 3 < line.size() &&
         line.find_first_of("\r\n") == std::string_view::npos;
}

struct Row {
  std::string command;
  Files files;  // "@" in a file's text stands for the collection's folder
  std::string expected;
};

struct Collection {
  testing::TempFolder dir;
  SharedState state;
  StartupOutcome outcome;
  Collection(const Files& files, const std::string& command) {
    for (const auto& [name, text] : files) dir.Write(name, ReplaceAll(text, "@", dir.Str()));
    state.ProgramFolder = dir.Str();
    outcome = Main(state, command);
  }
  std::string Local(std::string_view text) const { return ReplaceAll(text, dir.Str(), "@"); }
  // What the run stopped with, and the log's lines after its one header.
  std::string Ending() const {
    std::string text = outcome == StartupOutcome::SilentStop ? " stop" : "";
    const std::string log = dir.Exists("Zorv.Log.txt") ? dir.Read("Zorv.Log.txt") : "";
    if (log.empty()) return text;
    const auto header = log.find("\r\n");
    EXPECT_TRUE(IsLogHeader(log.substr(0, header))) << log;
    return text + " !" + ReplaceAll(log.substr(header + 2, log.size() - header - 4), "\r\n", " !");
  }
};

// Thirteen lists of three values each: "<list number>-<line number>".
std::string WithLists(const std::string& records) {
  std::string text = records + "[Manufacturer]\r\n";
  for (int list = 1; list <= 13; ++list) {
    if (list > 1) text += "[List " + std::to_string(list) + "]\r\n";
    for (int line = 1; line <= 3; ++line) text += std::to_string(list) + "-" + std::to_string(line) + "\r\n";
  }
  return text;
}

TEST(Startup, CommandLineGivesTheRomNameSwitchesAndLogLines) {
  EXPECT_EQ(kRomNameEmptyMessage, "Rom name is empty. Please Type : ZORV.EXE Romname [/noimage /notitle /noflyer /nomarquee /nosnap /nocabinet /nocpanel /center /defaultrtf]");
  const Files index = {{"datafiles/index", "gng;Bx;\r\ngng extra words;Bx;\r\n"}};
  const Row rows[] = {
      {"", index, "usage rom= U"}, {"   ", index, "usage rom= U"}, {"gng", index, "sheet rom=gng "}, {"  gng  ", index, "sheet rom=gng "},
      {"\"gng\"", index, "sheet rom=gng "}, {"gng.zip", index, "sheet rom=gng "}, {"gng.ZIP /NoImage", index, "sheet rom=gng I"},
      {"gng extra words", index, "sheet rom=gng extra words "},
      {"\"gng\" /center", index, "stop rom=gng\" c !Can't find the rom 'gng\"' into the index. file."},
      {"gng.zip.zip", index, "stop rom=gng.zip  !Can't find the rom 'gng.zip' into the index. file."},
      {"GnG", index, "stop rom=GnG  !Can't find the rom 'GnG' into the index. file."},
      {"gng.zip /NoImage /ontop /nosnapshots /CENTER /defaultRTF /unknown", index, "sheet rom=gng ISocd"},
      {"gng/notitle/noflyer/nomarquee/nocabinet/nocpanel", index, "sheet rom=gng TMCPF"},
      {"gng", {}, "stop rom=gng  !Can't find the index. file. Please use Quorbis to create it. [END]"},
      {"/noimage", index, "stop rom= I !EMPTY"}, {"\"\"", index, "stop rom=  !EMPTY"},
      {"/center gng", index, "stop rom= c !EMPTY"}, {".zip", index, "stop rom=  !EMPTY"},
  };
  for (const Row& row : rows) {
    const Collection run(row.files, row.command);
    const SharedState& s = run.state;
    std::string flags;
    for (auto [on, letter] : {std::pair{s.ShowUsage, 'U'}, {s.NoImage, 'I'}, {s.NoTitle, 'T'}, {s.NoSnap, 'S'},
                              {s.NoMarquee, 'M'}, {s.NoCabinet, 'C'}, {s.NoCpanel, 'P'}, {s.NoFlyer, 'F'},
                              {s.OnTop, 'o'}, {s.Center, 'c'}, {s.DefaultRtf, 'd'}}) {
      if (on) flags += letter;
    }
    const std::string outcome = run.outcome == StartupOutcome::GameSheet    ? "sheet"
                                : run.outcome == StartupOutcome::UsageSheet ? "usage"
                                                                            : "stop";
    EXPECT_EQ(outcome + " rom=" + s.RomName + " " + flags +
                  ReplaceAll(ReplaceAll(run.Ending(), " stop", ""), kRomNameEmptyMessage, "EMPTY"),
              row.expected)
        << row.command;
  }
}

// The settings that differ from the built-in defaults, in the configuration's order.
std::string ChangedSettings(const Collection& run) {
  static const std::vector<std::string> defaults = {
      "@\\datafiles\\history.dat", "@\\datafiles\\mameinfo.dat", "@\\datafiles\\index.", "c:\\mame\\titles\\",
      "c:\\mame\\snap\\", "c:\\mame\\marquees\\", "c:\\mame\\cabinets\\", "c:\\mame\\cpanel\\",
      "c:\\mame\\flyers\\", "", "1"};
  const char* names[] = {"History", "Mameinfo", "Index", "Titles", "Snap", "Marquees", "Cabinets", "Cpanel",
                         "Flyers", "Save", "Language"};
  const SharedState& s = run.state;
  const std::string values[] = {s.HistoryPath,  s.MameinfoPath, s.IndexPath,    s.ImagePath[1],
                                s.ImagePath[2], s.ImagePath[3], s.ImagePath[4], s.ImagePath[5],
                                s.ImagePath[6], s.SavePath,     std::to_string(s.Language)};
  std::string changed;
  for (std::size_t i = 0; i < std::size(names); ++i) {
    if (run.Local(values[i]) != defaults[i]) changed += std::string(changed.empty() ? "" : " ") + names[i] + "=" + values[i];
  }
  return changed + run.Ending();
}

TEST(Startup, QuorbisInfThenZorvInfOverrideTheDefaults) {
  const Row rows[] = {
      {"", {}, ""},
      {"", {{"Quorbis.INF", "junk\r\nDataFile2=h.dat\r\n datafile3 =m.dat=x\r\nTitlesPath=t\r\nOther=1\r\nlanguage= 0\r\n"}},
       "History=h.dat Mameinfo=m.dat Titles=t Language=0"},
      {"", {{"quorbis.inf", "SnapPath=1\r\nSnapPath=2\r\nSnapPath=3\r\nSnapPath=4\r\nSnapPath=5\r\nSnapPath=6\r\n"
                            "SnapPath=7\r\nSnapPath=s8\r\nunknown=1\r\nFlyersPath=f\r\nLanguage=0\r\n"}},
       "Snap=s8 Flyers=f"},  // the tenth recognised line is never read
      {"", {{"quorbis.inf", "DataFile2=h.dat\r\nLanguage=1e20\r\nDataFile3=m.dat\r\n"}}, "History=h.dat !ERROR A - 6"},
      {"", {{"zorv.inf", "HistoryPath=c:\\dats\\\r\nMameinfoPath=c:\\dats\\mi.dat\r\nIndexPath=\\x\\\r\nTitlesPath=c:\\t\r\n"
                         "SnapPath=\r\nSavePath=\r\nCpanelPath=c:\\p\\\r\nIndexPath=c:\\later\\\r\n"}},
       "History=c:\\dats\\history.dat Mameinfo=c:\\dats\\mi.dat Index=c:\\later\\index. Titles=c:\\t\\ Snap=\\ "
       "Cpanel=c:\\p\\ Save=\\"},
      {"", {{"quorbis.inf", "DataFile2=q.dat\r\nMarqueesPath=q\r\nLanguage=0\r\n"}, {"Zorv.inf", "HistoryPath=z\\\r\n"}},
       "History=z\\history.dat Marquees=q Language=0"},
      {"", {{"quorbis.inf", "Language=0\r\n"}, {"Zorv.inf", " language = english \r\n"}}, ""},
      {"", {{"Zorv.inf", "LANGUAGE=0\r\n"}}, "Language=0"}, {"", {{"Zorv.inf", "Language=FRENCH\r\n"}}, "Language=0"},
      {"", {{"Zorv.inf", "Language=2.5\r\n"}}, "Language=2"}, {"", {{"Zorv.inf", "Language=3.5\r\n"}}, "Language=4"},
      {"", {{"Zorv.inf", "Language=&H10\r\n"}}, "Language=16"}, {"", {{"Zorv.inf", "Language=-2.5\r\n"}}, "Language=-2"},
      {"", {{"Zorv.inf", "Language=2147483647\r\n"}}, "Language=2147483647"},
      {"", {{"Zorv.inf", "Language=2147483648\r\n"}}, "Language=-1 stop !ERROR B - 6"},
      {"", {{"Zorv.inf", "Language=-2147483649\r\n"}}, "Language=-1 stop !ERROR B - 6"},
      {"", {{"Zorv.inf", "Language=&H100000000\r\n"}}, "Language=-1 stop !ERROR B - 6"},
  };
  for (const Row& row : rows) EXPECT_EQ(ChangedSettings(Collection(row.files, row.command)), row.expected) << row.files.size();
}

std::string GameFields(const Collection& run) {
  const SharedState& s = run.state;
  std::string text = s.GameTitle + "|" + s.CloneOf;
  for (const std::string* list : {&s.Manufacturer, &s.Year, &s.Orientation, &s.Buttons, &s.Controls,
                                  &s.DriverStatus, &s.Genre, &s.Category, &s.VersionAdded, &s.Driver, &s.Players,
                                  &s.SaveState}) {
    text += "|" + *list;
  }
  return text + "|" + (s.HasCheat ? "c" : "") + (s.IsMature ? "m" : "") + (s.HasHighscore ? "h" : "") + run.Ending();
}

TEST(Startup, IndexRecordAndListsGiveTheGameFields) {
  const std::string full = "gng;BGhosts'n Goblins;Sgng#CL;C1;D2;E3;F1;G2;H3;I1;J2;K3;M1;N2;O3;V1;R1;L0;P1;U*";
  const Row rows[] = {
      {"gng", {{"datafiles/index", WithLists("gngb;Bwrong;\r\n" + full + "\r\nzzz;B;\r\n")}},
       "Ghosts'n Goblins|gng|1-1|2-2|3-3|4-1|5-2|6-3|7-1|8-2|9-3|11-2|12-3|13-1|cmh"},
      {"gng", {{"index", WithLists("gngb;Bb;\r\nGNG;Bupper;\r\ngng;Bfirst;\r\ngng;Bsecond;\r\n")}}, "first|ng|||||||||||||m"},
      {"gng", {{"index", WithLists("a;Ba;\r\n") + "gng;Bafter the lists;\r\n"}},
       "|||||||||||||| stop !Can't find the rom 'gng' into the index. file."},
      {"gng", {{"index", WithLists("a;Ba;C3\r\ngng;Bg;C2;D1\r\n")}}, "g|ng|1-2|2-1|||||||||||m"},
      {"gng", {{"index", WithLists("gng;Bg;C0;D1;E1\r\n")}}, "g|ng||2-1|3-1||||||||||m"},  // 0 is no value; without S the clone is "ng"
      {"gng", {{"index", WithLists("gng;Bg;D1;E1\r\n")}}, "g|ng||1-1|2-1||||||||||m"},     // no C: D reads list 1
      {"gng", {{"index", WithLists("gng;Bg;C9;D1;E1\r\n")}}, "g|ng||2-1|3-1||||||||||m"},  // shorter list than asked
      {"gng", {{"index", WithLists("gng;Bg;C4;D1;E1\r\n")}}, "g|ng|[List 2]|2-1|3-1||||||||||m"},  // the header line
      {"gng", {{"index", WithLists("gng;Bg;C-1;D 2;E1\r\n")}}, "g|ng||2-2|3-1||||||||||m"},
      {"gng", {{"index", WithLists("gng;Bg;C1.5;D2.5;E1\r\n")}}, "g|ng|1-2|2-2|3-1||||||||||m"},  // halves to even
      // A number goes on past a blank and into its exponent.
      {"gng", {{"index", WithLists("gng;Bg;C2 1;D1e1;E1d0;F3\r\n")}}, "g|ng|||3-1|4-3|||||||||m"},
      // The first of each code counts, ";;" included.
      {"gng", {{"index", WithLists("gng;;Bfirst;;C2;C1;D1;;Bsecond\r\n")}}, "first|ng|1-2|2-1|||||||||||m"},
      {"gng", {{"index", WithLists("gng;Bg;C3;D3;E3;F3;G3;H3;I3;J3;K3;M3;N3;O3;V3\r\n")}},
       "g|ng|1-3|2-3|3-3|4-3|5-3|6-3|7-3|8-3|9-3|11-3|12-3|13-3|m"},
      {"gng", {{"index", "gng;Bg;C1;D1\r\n"}}, "g|ng|||||||||||||m"},  // no lists at all
      {"gng", {{"index", WithLists("gng;Bg;C99999999999;D1\r\n")}}, "g|ng||1-1|||||||||||m !ERROR D - 6"},
      {"gng", {{"index", "gng;Bt;S#CL#CL;R0;L#;P0\r\n"}}, "t||||||||||||||"},
      {"gng", {{"index", "gng;Bt;Sab#clc;R1;LX;P1\r\n"}}, "t|ab#clc|||||||||||||cmh"},
      {"gng", {{"index", "gng;Bt;S;\r\n"}}, "t||||||||||||||m"},  // no R, L, P: the record's second character
      {"g1", {{"index", "g1;Bt;S;R\r\n"}}, "t||||||||||||||mh"},  // R empty; L and P read the "1"
      {"gng", {{"index", "gng;Bno semicolon after the title\r\n"}}, "|||||||||||||| stop !ERROR B - 5"},
  };
  for (const Row& row : rows) EXPECT_EQ(GameFields(Collection(row.files, row.command)), row.expected) << row.files[0].second.substr(0, 40);
}

// A history of two games and a mameinfo of two, each entry marked as the files do.
const std::string kHistory =
    "$info=aaa,\r\n$bio\r\n\r\nFirst game.\r\n\r\n- TRIVIA -\r\n\r\nFun.\r\n$end\r\n"
    "$info=gng,gnga,\r\n$bio\r\n\r\nGhosts.\r\n$end\r\n";
const std::string kMameinfo = "$info=gng\r\n$mame\r\n0.37b5\r\n\r\nNotes.\r\n$end\r\n$info=x\r\n$mame\r\n0.1\r\n$end\r\n";

TEST(Startup, IndexReferencesCutTheHistoryAndMameinfoEntries) {
  const struct {
    std::string references;  // the record's fields after the title
    std::string expected;    // history | mameinfo | ROM available
  } rows[] = {
      {"Q1,101;U*", "\r\nFirst game.\r\n\r\n- TRIVIA -\r\n\r\nFun.||1"},
      {"Q62,40;U*", "\r\nGhosts.||1"},
      {"Q62,20;U*", "$info=gng,gnga,\r\n$bi||1"},  // no whole "$bio", no "$end": all of it
      {"Q0,50;U*", "||1"}, {"Q62,#;U*", "||1"}, {"Q5;U*", "||1"},
      {"Q85,9;U*", "\r\nGhosts.||1"},  // no "$bio"
      {"Q1,40;U1,40*", "\r\nFirst game.\r\n\r\n- TRI|MAME v0.37b5\r\n\r\nNotes.|1"},
      {"Q0,0;U1,69", "|MAME v0.37b5\r\n\r\nNotes.\r\n$end\r\n$info=x\r\n$mame\r\n0.1|"},  // to the last "$end"
      {"Q0,0;U43,30", "|MAME v0.1|"}, {"Q0,0;U 1 ,0", "||"},
      {"Q999999999,2000000000;U2147483647,2147483647*", "||1"},  // past the end of the files
      {"Q1,12", "|| stop !ERROR B - 5"},   // no ";" after the length
      {"Q1,x;", "|| stop !ERROR B - 13"},  // a length that is not a number
      {"Q1,-1;", "|| stop !ERROR B - 5"},
      {"Q1,&H1F;U*", "\r\nFirst game.||1"},
      {"Q1," + std::string(4095, '0') + "9;U*", "$info=aaa||1"}, {"Q1," + std::string(4096, '0') + "9;U*", "|| stop !ERROR B - 13"},
      {"Q1,99999999999;", "|| stop !ERROR B - 6"},
      {"Q0,0;Ux,5", "|| stop !ERROR B - 13"}, {"Q0,0;U1 2,5", "|| stop !ERROR B - 13"},
      {"Q0,0;U0,5", "|| stop !ERROR B - 63"},  // offset 0 reaches the file
  };
  for (const auto& row : rows) {
    const Collection run({{"datafiles/index", "gng;Bx;" + row.references + "\r\n"},
                          {"datafiles/history.dat", kHistory}, {"datafiles/mameinfo.dat", kMameinfo}},
                         "gng");
    const SharedState& s = run.state;
    EXPECT_EQ(s.HistoryText + "|" + s.MameinfoText + "|" + (s.RomAvailable ? "1" : "") + run.Ending(), row.expected)
        << row.references;
  }
}

TEST(Startup, DataFilesFallBackToTheDataFolderWhichIsRemembered) {
  const Collection run({{"DataFiles/Index", "gng;Bx;Q1,40;U1,40*\r\n"}, {"DataFiles/History.dat", kHistory},
                        {"Zorv.inf", "HistoryPath=@\\nowhere.dat\r\nMameinfoPath=@\\none.dat\r\n"}},
                       "gng");
  EXPECT_EQ(run.state.HistoryText, "\r\nFirst game.\r\n\r\n- TRI");
  EXPECT_EQ(run.Local(run.state.HistoryPath), "@\\datafiles\\history.dat");
  EXPECT_EQ(run.state.MameinfoText + run.Ending(), "");  // neither place has it: no text, no failure
  const Collection endAtStart({{"datafiles/index", "gng;Bx;Q1,6;U*\r\n"}, {"datafiles/history.dat", "$end\r\n"}}, "gng");
  EXPECT_EQ(endAtStart.Ending(), " stop !ERROR B - 5");
}

TEST(Startup, NotesAreTheGamesSectionOfTheNotesFile) {
  const std::string index = "gng;Bx;\r\n";
  const struct {
    std::string file;
    std::string notes;
  } rows[] = {
      {"intro\r\n[gng]\r\nline 1\r\n  indented\r\n[other]\r\nx\r\n", "line 1\r\n  indented"},
      {"[gng] my favourite\r\nyes\r\n", "yes"}, {"see [gng] here\r\nyes\r\n", "yes"}, {"[gng]\r\n[next]\r\nx\r\n", ""},
      {"[gng]\r\na\r\n   [early\r\nb\r\n", "a"}, {"[gng]\r\na\r\n\r\n\r\n", "a\r\n\r\n"}, {"[GNG]\r\na\r\n", ""},
      {"[gng]\r\na\nb\rc", "a\nb\r\nc"}, {"no section\r\n", ""}, {"[gng]\r\n\r\n", ""},
  };
  for (const auto& row : rows) {
    const Collection run({{"index", index}, {"notes.txt", row.file}}, "gng");
    EXPECT_EQ(run.state.NotesText + run.Ending(), row.notes) << row.file;
  }
  const Collection both({{"index", index}, {"Datafiles/notes.txt", "[gng]\r\ndata\r\n"}, {"Notes.TXT", "[gng]\r\nmine\r\n"}}, "gng");
  EXPECT_EQ(both.state.NotesText, "mine");
  const Collection data({{"index", index}, {"Datafiles/notes.txt", "[gng]\r\nfrom data\r\n"}}, "gng");
  EXPECT_EQ(data.state.NotesText, "from data");
}

TEST(Startup, IndexAndPicturesAreFoundWhereTheConfigurationSays) {
  const Files pictures = {{"index", "gng;Bprogram folder;\r\n"}, {"pics/snap/gng.jpg", ""}, {"pics/snap/gng.png", ""},
                          {"pics/titles/gng.gif", ""}, {"pics/flyers/gng.jpg", ""}, {"pics/cpanel/gng.bmp", ""},
                          {"Zorv.inf", "SnapPath=@\\pics\\snap\r\nTitlesPath=@/PICS/Titles\r\nFlyersPath=@\\pics\\flyers\\\r\n"
                                       "CpanelPath=@\\pics\\cpanel\r\n"}};
  const Collection run(pictures, "gng.zip /nosnap");
  EXPECT_EQ(run.state.GameTitle + run.Ending(), "program folder");
  EXPECT_EQ(run.state.RomKey, "gng;");
  const std::vector<std::string> found(run.state.ImagePath.begin() + 1, run.state.ImagePath.end());
  EXPECT_EQ(found, (std::vector<std::string>{run.dir.Str() + "/PICS/Titles\\gng.gif", run.dir.Str() + "\\pics\\snap\\gng.png",
                                             "", "", "", run.dir.Str() + "\\pics\\flyers\\gng.jpg"}));
  Files indexes = {{"index", "gng;Bprogram folder;\r\n"}, {"datafiles/index", "gng;Bdata folder;\r\n"}};
  EXPECT_EQ(Collection(indexes, "gng").state.GameTitle, "data folder");
  indexes.push_back({"elsewhere/my.idx", "gng;Bconfigured;\r\n"});
  indexes.push_back({"zorv.inf", "IndexPath=@\\elsewhere\\my.idx\r\n"});
  EXPECT_EQ(Collection(indexes, "gng").state.GameTitle, "configured");
}

TEST(Startup, EachRunOfTheProgramStartsTheLogWithANewHeader) {
  const Collection run({}, "gng");
  SharedState nextRun;
  nextRun.ProgramFolder = run.dir.Str();
  WriteLog(nextRun, "again");
  WriteLog(nextRun, "and again");
  const std::string log = run.dir.Read("Zorv.Log.txt");
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(log.substr(start, end - start));
  ASSERT_EQ(lines.size(), 5u) << log;
  EXPECT_TRUE(log.ends_with("\r\n")) << log;
  EXPECT_TRUE(IsLogHeader(lines[0])) << log;
  EXPECT_TRUE(lines[1].starts_with("Can't find the index")) << log;
  EXPECT_TRUE(IsLogHeader(lines[2])) << log;
  EXPECT_EQ(lines[3], "again");
  EXPECT_EQ(lines[4], "and again");
}

}  // namespace
}  // namespace zorv
