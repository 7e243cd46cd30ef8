#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/run_time_error.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

using testing::TempFolder;

TEST(ResolvePath, FindsNamesWithoutRegardToCaseFolderByFolder) {
  TempFolder dir;
  dir.Write("DataFiles/Index", "x");
  dir.Write("Snap/GnG.PNG", "x");
  struct Case {
    std::string written;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"\\datafiles\\index.", "DataFiles/Index"},
      {"/DATAFILES/INDEX", "DataFiles/Index"},
      {"\\datafiles/index", "DataFiles/Index"},
      {"\\snap\\gng.png", "Snap/GnG.PNG"},
      {"\\snap\\\\gng.png", "Snap/GnG.PNG"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResolvePath(dir.Str() + c.written), dir.Path() / c.expected) << c.written;
    EXPECT_TRUE(FileExists(dir.Str() + c.written)) << c.written;
  }
}

TEST(ResolvePath, KeepsTheSpellingOfPartsThatDoNotExist) {
  TempFolder dir;
  dir.Write("Out/keep", "");
  EXPECT_EQ(ResolvePath(dir.Str() + "\\out\\ZRV_gng.rtf"), dir.Path() / "Out" / "ZRV_gng.rtf");
  EXPECT_EQ(ResolvePath("c:\\nowhere\\x"), std::filesystem::path("/nowhere/x"));
}

TEST(FileExists, IsFalseForFoldersMissingFilesAndEmptyPaths) {
  TempFolder dir;
  dir.Write("a/b.txt", "");
  EXPECT_TRUE(FileExists(dir.Str() + "/a/b.txt"));
  EXPECT_FALSE(FileExists(dir.Str() + "/a"));
  EXPECT_FALSE(FileExists(dir.Str() + "/a/"));
  EXPECT_FALSE(FileExists(dir.Str() + "/a/c.txt"));
  EXPECT_FALSE(FileExists(""));
}

TEST(TextFileReader, EndsLinesAtCrLfAndLoneCrButNeverAtLoneLf) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\nb\r\nc", {"a\nb", "c"}},
      {"\r\n\r\n", {"", ""}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"\n", {"\n"}},
  };
  TempFolder dir;
  for (const auto& c : cases) {
    dir.Write("t.txt", c.bytes);
    TextFileReader reader(dir.Str() + "/t.txt");
    std::vector<std::string> lines;
    for (std::string line; reader.ReadLine(line);) lines.push_back(line);
    EXPECT_EQ(lines, c.lines) << "input of " << c.bytes.size() << " bytes";
  }
}

TEST(TextFileReader, ReadsLinesAcrossItsBufferBoundaries) {
  TempFolder dir;
  std::string bytes;
  std::vector<std::string> expected;
  for (int i = 0; i < 20000; ++i) {
    expected.push_back(std::string(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26)));
    bytes += expected.back() + (i % 3 == 0 ? "\r" : "\r\n");
  }
  expected.push_back(std::string(10'000'000, 'z'));  // one line of 10 MB
  bytes += expected.back();
  dir.Write("big.txt", bytes);
  TextFileReader reader(dir.Str() + "/big.txt");
  std::vector<std::string> lines;
  for (std::string line; reader.ReadLine(line);) lines.push_back(line);
  EXPECT_EQ(lines, expected);
}

TEST(ReadStretch, ReadsFromOneBasedOffsetAndStopsAtTheEnd) {
  TempFolder dir;
  dir.Write("d.dat", "0123456789");
  const std::string path = dir.Str() + "/d.dat";
  EXPECT_EQ(ReadStretch(path, 1, 3), "012");
  EXPECT_EQ(ReadStretch(path, 9, 100), "89");
  EXPECT_EQ(ReadStretch(path, 11, 5), "");
  EXPECT_EQ(ReadStretch(path, 4, 0), "");
  EXPECT_EQ(ReadStretch(path, 1, 2'000'000'000), "0123456789");
  try {
    ReadStretch(path, 0, 1);
    FAIL();
  } catch (const RunTimeError& e) {
    EXPECT_EQ(e.Number(), 63);
  }
  try {
    ReadStretch(dir.Str() + "/none.dat", 1, 1);
    FAIL();
  } catch (const RunTimeError& e) {
    EXPECT_EQ(e.Number(), 53);
  }
}

TEST(WriteAndRename, AppendLineWritesCrLfAndRenameRefusesToOverwrite) {
  TempFolder dir;
  AppendLine(dir.Str() + "\\log.txt", "one");
  AppendLine(dir.Str() + "\\LOG.TXT", "two");
  EXPECT_EQ(dir.Read("log.txt"), "one\r\ntwo\r\n");
  WriteWholeFile(dir.Str() + "/b.txt", "b");
  EXPECT_FALSE(RenameFile(dir.Str() + "/log.txt", dir.Str() + "/B.TXT"));
  EXPECT_TRUE(DeleteFile(dir.Str() + "/b.txt"));
  EXPECT_TRUE(RenameFile(dir.Str() + "/log.txt", dir.Str() + "/b.txt"));
  EXPECT_EQ(dir.Read("b.txt"), "one\r\ntwo\r\n");
  EXPECT_FALSE(DeleteFile(dir.Str() + "/log.txt"));
}

}  // namespace
}  // namespace zorv
