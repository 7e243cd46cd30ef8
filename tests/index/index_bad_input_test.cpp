// Input the tool must refuse: a clear message, and the index left as it was.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "generated_collection.h"
#include "index_builder.h"
#include "platform/run_time_error.h"
#include "support/temp_folder.h"

namespace zorv::index {
namespace {

using zorv::testing::TempFolder;

constexpr const char* kList =
    "<mame><machine name=\"gng\"><description>G</description></machine>"
    "<machine name=\"pacman\"><description>P</description></machine></mame>";
constexpr const char* kHistory = "$info=gng,\r\n$bio\r\nText.\r\n$end\r\n";
constexpr const char* kOldIndex = "an index from an earlier run\r\n";

struct BadCase {
  const char* what;
  std::string list = kList;
  std::string history = kHistory;
  std::string mameinfo = "$info=gng\r\n$mame\r\n0.1\r\n$end\r\n";
  std::uint64_t addressLimit = kViewerAddressLimit;
  bool removeHistory = false;
  bool missingRoms = false;
  std::string message;  // what the message must say, past the file's path
};

std::vector<std::string> FolderListing(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(BadInput, IsRefusedWithAMessageAndTheOldIndexStays) {
  std::vector<BadCase> cases(9);
  cases[0].what = "malformed XML";
  cases[0].list = "<mame><machine name=\"gng\"><description>G</machine></mame>";
  cases[0].message = "list.xml: not well-formed XML at line 1, column 43: mismatched tag";
  cases[1].what = "cut-off XML";
  cases[1].list = std::string(kList).substr(0, 80);
  cases[1].message = "list.xml: not well-formed XML at line 1, column 65: unclosed token";
  cases[2].what = "XML that is not a history file";
  cases[2].history = "<mame>\n<machine name=\"gng\"/>\n</mame>";
  cases[2].message = "history.dat, line 1: not a history file (its root element is <mame>)";
  cases[3].what = "history entry without text";
  cases[3].history = "<history>\n<entry><systems><system name=\"gng\"/></systems></entry>\n</history>";
  cases[3].message = "history.dat, line 2: the <entry> has no <text>";
  cases[4].what = "history beyond the viewer's reach";
  cases[4].history = std::string(40, '#') + "\r\n" + kHistory;
  cases[4].addressLimit = 50;
  cases[4].message = "history.dat: the entry at line 2 ends at byte 65, beyond byte 50, the furthest the viewer can read; the file is too large";
  cases[5].what = "a game twice";
  cases[5].list = "<mame>\n<machine name=\"gng\"/>\n<machine name=\"gng\"/>\n</mame>";
  cases[5].message = "list.xml, line 3: the ROM name \"gng\" comes twice in the game list";
  cases[6].what = "missing history.dat";
  cases[6].removeHistory = true;
  cases[6].message = "history.dat: file not found";
  cases[7].what = "no games";
  cases[7].list = "<mame><machine name=\"z80\" isdevice=\"yes\" runnable=\"no\"/></mame>";
  cases[7].message = "list.xml: holds no games";
  cases[8].what = "missing ROM folder";
  cases[8].missingRoms = true;
  cases[8].message = "roms: not a folder";

  for (const BadCase& c : cases) {
    TempFolder dir;
    IndexOptions options;
    options.listXml = dir.Write("list.xml", c.list).string();
    options.history = dir.Write("history.dat", c.history).string();
    options.mameinfo = dir.Write("mameinfo.dat", c.mameinfo).string();
    options.romFolder = dir.Str() + "/roms";
    if (!c.missingRoms) std::filesystem::create_directory(options.romFolder);
    if (c.removeHistory) std::filesystem::remove(options.history);
    options.output = dir.Write("out/index", kOldIndex).string();
    options.addressLimit = c.addressLimit;
    try {
      BuildIndex(options);
      ADD_FAILURE() << c.what << ": no failure";
    } catch (const RunTimeError& failure) {
      EXPECT_EQ(failure.what(), dir.Str() + "/" + c.message) << c.what;
    }
    EXPECT_EQ(dir.Read("out/index"), kOldIndex) << c.what;
    EXPECT_EQ(FolderListing(dir.Path() / "out"), std::vector<std::string>{"index"}) << c.what;
  }
}

TEST(BadInput, AnOutputFolderThatDoesNotExistIsReportedAndNothingIsLeft) {
  TempFolder dir;
  IndexOptions options;
  options.listXml = dir.Write("list.xml", kList).string();
  options.output = dir.Str() + "/missing/index";
  EXPECT_THROW(BuildIndex(options), RunTimeError);
  EXPECT_EQ(FolderListing(dir.Path()), std::vector<std::string>{"list.xml"});
}

// The program itself: exit status, messages, and the list read from a pipe.
struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

ToolRun RunTool(const TempFolder& dir, const std::string& arguments) {
  const std::string command = std::string("'") + ZORV_INDEX_TOOL + "' " + arguments + " >'" + dir.Str() +
                              "/stdout' 2>'" + dir.Str() + "/stderr'";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, dir.Read("stdout"), dir.Read("stderr")};
}

TEST(Program, ReadsTheListFromStandardInputAsFromAFile) {
  TempFolder dir;
  const auto c = testing::GenerateCollection(9, 12);
  dir.Write("list.xml", c.xml);
  dir.Write("history.dat", c.history);
  const std::string common = " --history '" + dir.Str() + "/history.dat' --output '" + dir.Str();
  const ToolRun piped = RunTool(dir, "--listxml -" + common + "/piped' <'" + dir.Str() + "/list.xml'");
  ASSERT_EQ(piped.status, 0) << piped.err;
  EXPECT_EQ(piped.out, "");
  EXPECT_NE(piped.err.find(std::to_string(c.games.size()) + " games written"), std::string::npos) << piped.err;
  EXPECT_EQ(piped.err.find('\r'), std::string::npos) << "no progress bar when standard error is not a terminal";
  const ToolRun fromFile = RunTool(dir, "--listxml='" + dir.Str() + "/list.xml'" + common + "/file'");
  ASSERT_EQ(fromFile.status, 0) << fromFile.err;
  EXPECT_EQ(dir.Read("piped"), dir.Read("file"));
}

TEST(Program, ExitsWithOneAndAMessageOnBadInputOrUsage) {
  TempFolder dir;
  dir.Write("bad.xml", "<mame><machine>");
  const ToolRun bad = RunTool(dir, "--listxml '" + dir.Str() + "/bad.xml' --output '" + dir.Str() + "/index'");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "zorv-index: " + dir.Str() + "/bad.xml: not well-formed XML at line 1, column 16: no element found\n");
  EXPECT_FALSE(dir.Exists("index"));
  const ToolRun usage = RunTool(dir, "");
  EXPECT_EQ(usage.status, 1);
  EXPECT_EQ(usage.err, "zorv-index: --listxml is required\nTry \"zorv-index --help\".\n");
  const ToolRun help = RunTool(dir, "--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: zorv-index --listxml FILE")) << help.out;
}

}  // namespace
}  // namespace zorv::index
