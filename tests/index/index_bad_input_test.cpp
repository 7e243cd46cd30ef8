// Input the tool must refuse: a clear message, and the index left as it was.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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

constexpr const char* kSoundList =
    "<mame><machine name=\"gng\"><description>G</description></machine>"
    "<machine name=\"pacman\"><description>P</description></machine></mame>";
constexpr const char* kSoundHistory = "$info=gng,\r\n$bio\r\nText.\r\n$end\r\n";
constexpr const char* kOldIndex = "an index from an earlier run\r\n";

std::vector<std::string> FolderListing(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(BadInput, IsRefusedWithAMessageAndTheOldIndexStays) {
  struct BadCase {
    std::string message;  // past the file's path
    std::string list = kSoundList;
    std::string history = kSoundHistory;  // "none": no such file
    std::string mameinfo = "$info=gng\r\n$mame\r\n0.1\r\n$end\r\n";
    std::uint64_t addressLimit = kViewerAddressLimit;
  };
  std::vector<BadCase> cases = {
      {"list.xml: not well-formed XML at line 1, column 43: mismatched tag",
       "<mame><machine name=\"gng\"><description>G</machine></mame>"},
      {"list.xml: not well-formed XML at line 1, column 65: unclosed token", std::string(kSoundList).substr(0, 80)},
      {"history.dat, line 1: not a history file (its root element is <mame>)", kSoundList,
       "<mame>\n<machine name=\"gng\"/>\n</mame>"},
      {"history.dat, line 2: the <entry> has no <text>", kSoundList,
       "<history>\n<entry><systems><system name=\"gng\"/></systems></entry>\n</history>"},
      {"history.dat: the entry at line 2 ends at byte 65, beyond byte 50, the furthest the viewer can read; the file is "
       "too large", kSoundList, std::string(40, '#') + "\r\n" + kSoundHistory, "", 50},
      {"list.xml, line 3: the ROM name \"gng\" comes twice in the game list",
       "<mame>\n<machine name=\"gng\"/>\n<machine name=\"gng\"/>\n</mame>"},
      {"history.dat: file not found", kSoundList, "none"},
      {"list.xml: holds no games", "<mame><machine name=\"z80\" isdevice=\"yes\" runnable=\"no\"/></mame>"},
      {"roms: not a folder"}};
  // A game whose name cannot stand in an index is passed over with a warning.
  for (const std::string name : {"a;b", "a&#13;", "", "..", "a/b"}) {
    cases.push_back({"list.xml: holds no games", "<mame>\n<machine name=\"" + name + "\"/>\n</mame>"});
  }
  for (const BadCase& c : cases) {
    const std::string& what = c.message;
    TempFolder dir;
    IndexOptions options;
    options.listXml = dir.Write("list.xml", c.list).string();
    options.history = dir.Write("history.dat", c.history).string();
    options.mameinfo = dir.Write("mameinfo.dat", c.mameinfo).string();
    options.romFolders = {dir.Str() + "/roms"};
    if (what != "roms: not a folder") std::filesystem::create_directory(options.romFolders[0]);
    if (c.history == "none") std::filesystem::remove(options.history);
    options.output = dir.Write("out/index", kOldIndex).string();
    options.addressLimit = c.addressLimit;
    try {
      BuildIndex(options);
      ADD_FAILURE() << what << ": no failure";
    } catch (const RunTimeError& failure) {
      EXPECT_EQ(failure.what(), dir.Str() + "/" + c.message) << what;
    }
    EXPECT_EQ(dir.Read("out/index"), kOldIndex) << what;
    EXPECT_EQ(FolderListing(dir.Path() / "out"), std::vector<std::string>{"index"}) << what;
  }
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

TEST(Program, ReadsTheListFromStandardInputAsFromAFileAndEveryOptionCounts) {
  TempFolder dir;
  const auto c = testing::GenerateCollection(9, 12);
  IndexOptions options = testing::WriteCollection(dir, c);
  options.output = dir.Str() + "/direct";
  BuildIndex(options);
  const std::string common = " --history '" + options.history + "' --mameinfo='" + options.mameinfo + "' --catver '" +
                             options.catver + "' --nplayers='" + options.nplayers + "' --roms '" + options.romFolders[0] +
                             "' --output '" + dir.Str();
  const ToolRun piped = RunTool(dir, "--listxml -" + common + "/piped' <'" + options.listXml + "'");
  ASSERT_EQ(piped.status, 0) << piped.err;
  EXPECT_EQ(piped.out, "");
  EXPECT_NE(piped.err.find(std::to_string(c.games.size()) + " games written"), std::string::npos) << piped.err;
  EXPECT_EQ(piped.err.find('\r'), std::string::npos) << "no progress bar when standard error is not a terminal";
  const ToolRun fromFile = RunTool(dir, "--listxml='" + options.listXml + "'" + common + "/file'");
  ASSERT_EQ(fromFile.status, 0) << fromFile.err;
  EXPECT_EQ(dir.Read("piped"), dir.Read("file"));
  EXPECT_EQ(dir.Read("piped"), dir.Read("direct"));
}

TEST(Program, ExitsWithOneOnBadInputAndTwoOnAWrongCommandLine) {
  TempFolder dir;
  dir.Write("bad.xml", "<mame><machine>");
  dir.Write("good.xml", kSoundList);
  const std::string bad = "'" + dir.Str() + "/bad.xml'";
  const std::string tryHelp = "\nTry 'zorv-index --help' for more information.\n";
  const std::vector<std::tuple<std::string, int, std::string>> cases = {
      {"--listxml " + bad + " --output '" + dir.Str() + "/index'", 1,
       "zorv-index: " + dir.Str() + "/bad.xml: not well-formed XML at line 1, column 16: no element found\n"},
      {"", 2, "zorv-index: give the game list: --listxml FILE, or --mame-ini to ask the emulator" + tryHelp},
      {"--listxml a.xml", 1, "a.xml: file not found"},
      {"--listxml a.xml --output", 2, "option '--output' requires an argument" + tryHelp},
      {"--listxml= --output x", 2, "option '--listxml' requires an argument"},
      {"--listxml a --listxml b --output x", 2, "--listxml is given twice"},
      {"--listxml a --output x --verbose", 2, "zorv-index: unrecognized option '--verbose'" + tryHelp},
      {"--listxml a --output -", 2, "--output must name a file"},
      {"--mame-ini --output x", 2, "--mame-ini writes into the collection folder"},
      {"--listxml " + bad + " --history=h --mameinfo m --catver c --nplayers=n --roms r --output x", 1, "h: file not found"},
      {"--listxml '" + dir.Str() + "/good.xml' --output '" + dir.Str() + "/missing/index'", 1, "missing: cannot be written"},
      {"--output x --help", 0, ""},
      {"-h", 0, ""}};
  for (const auto& [arguments, status, message] : cases) {
    const ToolRun run = RunTool(dir, arguments);
    EXPECT_EQ(run.status, status) << arguments;
    EXPECT_NE(run.err.find(message), std::string::npos) << arguments << ": " << run.err;
    EXPECT_EQ(run.out.starts_with("Usage: zorv-index --mame-ini [FILE]"), status == 0) << run.out;
  }
  EXPECT_FALSE(dir.Exists("index") || dir.Exists("missing"));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(ZORV_INDEX_TOOL).parent_path() / "datafiles"))
      << "a run that fails makes no folder";
}

}  // namespace
}  // namespace zorv::index
