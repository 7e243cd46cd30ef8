// zorv-report --all over a small collection: every page is what a run of its
// own makes, a bad record fails alone, nothing outside the output folder is
// touched, no two games share a file, pictures are files of the export, and an
// interrupt or a bad folder leaves no file half-written.
#include <gtest/gtest.h>
#include <png.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/run_program.h"
#include "support/small_collection.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

namespace fs = std::filesystem;
using testing::Quoted;

std::string FileOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The sheet of a page, without the head and links around it.
std::string SheetOf(const std::string& page) {
  const std::size_t start = page.find("<main");
  return start == std::string::npos ? "" : page.substr(start, page.find("</main>") - start);
}

// Every file below the folder that is not a page, picture, stylesheet or index part.
std::vector<std::string> Strays(const fs::path& folder) {
  std::vector<std::string> strays;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && (name.starts_with(".") || name.ends_with(".tmp"))) strays.push_back(name);
  }
  return strays;
}

// A picture of one colour, written a row at a time: large, yet a small file.
void WriteLargePng(const fs::path& file, std::uint32_t side) {
  fs::create_directories(file.parent_path());
  FILE* out = std::fopen(file.c_str(), "wb");
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, out);
  png_set_IHDR(png, info, side, side, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(side * 3, 0x60);
  for (std::uint32_t y = 0; y < side; ++y) png_write_row(png, row.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(out);
}

class ExportAllTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_symlink(std::string(ZORV_BINARY_DIR) + "/apps/zorv-report/zorv-report", dir.Path() / "zorv-report");
    testing::WriteSmallCollection(dir);
    AddGames("gngj;BGng (Japan);Sgng;C1;D1;R0;L#;P0;Q0,0;U1,9\r\nbroken;Bno end\r\n");
  }
  void AddGames(const std::string& records) { dir.Write("DataFiles/Index", records + dir.Read("DataFiles/Index")); }
  testing::ProgramResult Run(const std::string& arguments) {
    return testing::RunProgram(Quoted(dir.Str() + "/zorv-report") + " " + arguments + " 2>&1");
  }
  std::string Out() const { return Quoted(dir.Str() + "/out"); }
  testing::TempFolder dir;
};

TEST_F(ExportAllTest, EveryGameIsItsOwnRunAndOnlyTheBrokenOneFails) {
  std::string records;
  for (int i = 0; i < 3000; ++i) records += "g" + std::to_string(i) + ";BGame;S;C1;R0;L#;P0;Q0,0;U1,9\r\n";
  AddGames(records);
  for (const char* format : {"text", "html"}) {
    const auto result = Run("--all --output-dir " + Out() + " --format " + format + " --jobs 3 /nosnap");
    EXPECT_EQ(result.ExitStatus, 1);
    EXPECT_NE(result.Output.find("3002 of 3003 reports written"), std::string::npos) << result.Output;
    for (const char* rom : {"gng", "gngj", "g0", "g2999"}) {
      const std::string single = Run(std::string("--format ") + format + " " + rom + " /nosnap").Output;
      const std::string exported = dir.Read(std::string("out/") + rom + (*format == 't' ? ".txt" : ".html"));
      EXPECT_EQ(*format == 't' ? exported : SheetOf(exported), *format == 't' ? single : SheetOf(single)) << rom;
    }
    EXPECT_FALSE(dir.Exists("out/broken.txt") || dir.Exists("out/broken.html"));
  }
  // The pages share one stylesheet and link one another; the index has every game, the broken one without a page.
  const std::string gng = dir.Read("out/gng.html");
  EXPECT_NE(gng.find("<link rel=\"stylesheet\" href=\"zorv.css\">"), std::string::npos);
  EXPECT_NE(gng.find("<a href=\"index.html\">"), std::string::npos);
  EXPECT_NE(gng.find("<a href=\"gngj.html\">gngj</a>"), std::string::npos);
  EXPECT_NE(dir.Read("out/gngj.html").find("<a href=\"gng.html\">gng</a>"), std::string::npos);
  const std::string data = dir.Read("out/games.js");
  for (const char* part : {"\"g1\",", "\"broken\",", "\"Gng (Japan)\"]", "\"files\":{\"0\":\"\"}"}) {
    EXPECT_NE(data.find(part), std::string::npos) << part;  // the broken game, first by name, has no page
  }
  EXPECT_NE(dir.Read("out/index.html").find("3,003 games"), std::string::npos);
  EXPECT_TRUE(dir.Exists("out/zorv.css") && dir.Exists("out/index.js"));
  // A header for each export, and the broken game's line under it.
  const std::string log = dir.Read("Zorv.Log.txt");
  EXPECT_EQ(log.substr(log.find("\r\n")).substr(0, 15) + log.substr(log.rfind("\r\n", log.size() - 3)),
            "\r\nERROR B - 5\r\n\r\nERROR B - 5\r\n");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 4);
}

// The switches are read for what they show: no template is written or moved,
// no report saved, whatever the switches or the index's names say.
TEST_F(ExportAllTest, WritesNothingOutsideItsFolderButTheLog) {
  AddGames("gng/defaultrtf;BSlash;S;C1;R0;L#;P0;Q0,0;U1,9\r\n");
  dir.Write("Zorv.rtf", "{\\rtf1 mine #ROMNAME}");
  dir.Write("Zorv.bak", "my backup");
  dir.Write("Zorv.inf", "SavePath=" + dir.Str() + "/saved\r\n");
  fs::create_directory(dir.Path() / "saved");
  for (const char* format : {"html", "text", "rtf"}) {
    EXPECT_EQ(Run("--all --output-dir " + Out() + " --format " + format + " /defaultrtf").ExitStatus, 1);
  }
  EXPECT_EQ(dir.Read("Zorv.rtf") + "|" + dir.Read("Zorv.bak"), "{\\rtf1 mine #ROMNAME}|my backup");
  EXPECT_TRUE(fs::is_empty(dir.Path() / "saved"));
  EXPECT_NE(dir.Read("out/gng.txt").find("Name of Rom : gng"), std::string::npos);  // the built-in template
  EXPECT_NE(dir.Read("Zorv.Log.txt").find("ERROR B - 52"), std::string::npos);       // the name with a "/"
}

TEST_F(ExportAllTest, GivesEveryGameAFileOfItsOwnAndMakesTheFolder) {
  const std::string longest(245, 'n');
  AddGames("index;BIndex;S;C1;R0;L#;P0;Q0,0;U1,9\r\nGNG;BUpper;S;C1;R0;L#;P0;Q0,0;U1,9\r\n" + longest +
           ";BLong;S;C1;R0;L#;P0;Q0,0;U1,9\r\n");
  dir.Write("made/.zorv-report-probe", "a user's file");
  const auto result = Run("--all --output-dir " + Quoted(dir.Str() + "/made/out") + " --format html");
  EXPECT_NE(result.Output.find("5 of 6 reports written"), std::string::npos) << result.Output;
  const fs::path out = dir.Path() / "made/out";
  EXPECT_NE(FileOf(out / "index.html").find("<h1>"), std::string::npos);
  EXPECT_NE(FileOf(out / "index~2.html").find("<title>Index</title>"), std::string::npos);
  EXPECT_NE(FileOf(out / "GNG.html").find("<title>Upper</title>"), std::string::npos);  // the first in the index
  EXPECT_NE(FileOf(out / "gng~2.html").find("<title>Ghosts&#39;n Goblins</title>"), std::string::npos);
  EXPECT_TRUE(fs::exists(out / (longest + ".html")));
  EXPECT_EQ(dir.Read("made/.zorv-report-probe"), "a user's file");
  EXPECT_EQ(Strays(dir.Path() / "made").size(), 1u);  // only the user's file

  // Two exports into one folder at once.
  const auto both = testing::RunProgram(Quoted(dir.Str() + "/zorv-report") + " --all --output-dir " + Out() +
                                        " & " + Quoted(dir.Str() + "/zorv-report") + " --all --output-dir " + Out() +
                                        "; s=$?; wait $!; echo \"$s $?\"");
  EXPECT_TRUE(both.Output.ends_with("1 1\n")) << both.Output;  // each misses only the broken game
  EXPECT_TRUE(Strays(dir.Path() / "out").empty());

  dir.Write("file", "x");
  for (const std::string& folder : {dir.Str() + "/file", dir.Str() + "/file/below", std::string("/proc/self")}) {
    const auto refused = Run("--all --output-dir " + Quoted(folder));
    EXPECT_EQ(refused.ExitStatus, 1) << folder;
    EXPECT_TRUE(refused.Output.starts_with("zorv-report: cannot ")) << refused.Output;
  }
  EXPECT_EQ(dir.Read("file"), "x");
}

// A picture that fails leaves the sheet showing what the box held, as the
// window does: the category before it, or the box's empty area.
TEST_F(ExportAllTest, PicturesAreFilesOfTheExportShownAsTheSheetShowsThem) {
  const std::string demo = std::string(ZORV_DEMO_DIR) + "/pictures/";
  dir.Write("Zorv.inf", "TitlesPath=" + dir.Str() + "/titles/\r\nSnapPath=" + dir.Str() + "/snap/\r\n");
  dir.Write("titles/gng.png", FileOf(demo + "titles/gng.png"));
  dir.Write("snap/gng.png", FileOf(std::string(ZORV_TEST_DATA_DIR) + "/png-extra/corrupt/x_unexpected_eof.png"));
  dir.Write("titles/gngj.png", "not a picture");
  EXPECT_EQ(Run("--all --output-dir " + Out() + " --format html").ExitStatus, 1);
  const std::string gng = dir.Read("out/gng.html");
  const std::string title = "<img src=\"pictures/titles/gng.png\" width=\"320\" height=\"240\" alt=\"";
  EXPECT_NE(gng.find(title + "Title screen\""), std::string::npos) << gng;
  EXPECT_NE(gng.find(title, gng.find(title) + 1), std::string::npos);  // the snapshot's place shows it again
  EXPECT_EQ(dir.Read("out/pictures/titles/gng.png"), FileOf(demo + "titles/gng.png"));
  EXPECT_FALSE(dir.Exists("out/pictures/snap/gng.png"));
  // gngj's own title fails first: the box's empty area, 255 twips a side, where
  // its title and its parent's broken snapshot go.
  const std::string gngj = dir.Read("out/gngj.html");
  const std::string empty = "<img src=\"pictures/report/";
  EXPECT_NE(gngj.find(empty, gngj.find(empty) + 1), std::string::npos) << gngj;
  EXPECT_NE(gngj.find("width=\"17\" height=\"17\" alt=\"Picture\""), std::string::npos);
  EXPECT_EQ(Run("--all --output-dir " + Out() + " --format text").ExitStatus, 1);
  const std::string text = dir.Read("out/gng.txt");
  EXPECT_NE(text.find("\nSnap :\n[Title screen: gng.png, 320x240]\n"), std::string::npos) << text;
  EXPECT_NE(dir.Read("out/gngj.txt").find("\nSnap :\n[Picture, 17x17]\n"), std::string::npos);
}

// Whatever --jobs says, no more games run at once than there are processors,
// and a game waits for the memory its largest picture takes.
TEST_F(ExportAllTest, PicturesTakeBoundedMemoryWhateverTheJobs) {
  AddGames("big1;BBig;Sgng;C1;R0;L#;P0;Q0,0;U1,9\r\nbig2;BBig;Sgng;C1;R0;L#;P0;Q0,0;U1,9\r\n"
           "big3;BBig;Sgng;C1;R0;L#;P0;Q0,0;U1,9\r\n");
  dir.Write("Zorv.inf", "SnapPath=" + dir.Str() + "/snap/\r\n");
  WriteLargePng(dir.Path() / "snap/gng.png", 6000);
  EXPECT_EQ(Run("--format text gng").ExitStatus, 0);
  rusage one{};
  ::getrusage(RUSAGE_CHILDREN, &one);
  EXPECT_EQ(Run("--all --output-dir " + Out() + " --format text --jobs 1024").ExitStatus, 1);
  rusage all{};
  ::getrusage(RUSAGE_CHILDREN, &all);
  const long processors = std::min(6L, std::max(1L, ::sysconf(_SC_NPROCESSORS_ONLN)));
  EXPECT_LT(all.ru_maxrss, (processors + 1) * one.ru_maxrss) << one.ru_maxrss << " KB for one game";
  EXPECT_NE(dir.Read("out/big3.txt").find("[Snapshot: gng.png, 6000x6000]"), std::string::npos);
}

// The export started as a user's shell starts it; its standard error to a file.
pid_t StartExport(const fs::path& folder) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const std::string program = (folder / "zorv-report").string(), out = (folder / "out").string();
    if (std::freopen((folder / "stderr.txt").c_str(), "w", stderr) == nullptr) ::_exit(127);
    ::execl(program.c_str(), program.c_str(), "--all", "--output-dir", out.c_str(), "--format", "html", "--jobs", "2",
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return pid;
}

TEST_F(ExportAllTest, AnInterruptLeavesNoHalfWrittenFileAndNoIndex) {
  std::string records;
  for (int i = 0; i < 3000; ++i) records += "k" + std::to_string(i) + ";BClone;Sgng;C1;R0;L#;P0;Q0,0;U1,9\r\n";
  AddGames(records);
  dir.Write("Zorv.inf", "SnapPath=" + dir.Str() + "/snap/\r\n");
  dir.Write("snap/gng.png", FileOf(std::string(ZORV_TEST_DATA_DIR) + "/png-extra/valid/kodim02.png"));
  const struct {
    std::vector<int> signals;
    bool stopsGently;
  } cases[] = {{{SIGINT}, true}, {{SIGHUP}, true}, {{SIGTERM}, true}, {{SIGINT, SIGINT}, false}};
  for (const auto& c : cases) {
    fs::remove_all(dir.Path() / "out");
    const pid_t pid = StartExport(dir.Path());
    // Once the export writes pages, it is stopped in the middle of its games.
    const fs::path pictures = dir.Path() / "out/pictures/snap";
    for (int i = 0; i < 2000 && !(fs::exists(pictures) && !fs::is_empty(pictures)); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // A second signal sent before the first is taken would merge with it.
    for (const int signal : c.signals) {
      ::kill(pid, signal);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signals.front()) << status;
    const std::string said = dir.Read("stderr.txt");
    EXPECT_EQ(said.find(" reports written to ") != std::string::npos && said.find("(interrupted)") != std::string::npos,
              c.stopsGently) << said;
    EXPECT_FALSE(dir.Exists("out/index.html"));
    EXPECT_TRUE(Strays(dir.Path() / "out").empty());
    std::size_t pages = 0;
    for (const auto& entry : fs::directory_iterator(dir.Path() / "out")) {
      if (entry.path().extension() != ".html") continue;
      ++pages;
      EXPECT_TRUE(FileOf(entry.path()).ends_with("</html>\n")) << entry.path();
    }
    EXPECT_LT(pages, 3002u);
    if (c.stopsGently) {
      EXPECT_TRUE(dir.Exists("out/zorv.css"));
    }
  }
}

}  // namespace
}  // namespace zorv
