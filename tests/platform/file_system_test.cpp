// The file layer over files as Windows users bring them: names found without
// regard to case folder by folder, lines ended by CR LF or a lone CR, stretches
// read from one-based offsets, Windows-1252 text.
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "platform/cp1252.h"
#include "platform/run_time_error.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

TEST(FileSystem, FindsNamesWithoutRegardToCaseFolderByFolderAndKeepsTheRest) {
  testing::TempFolder dir;
  dir.Write("DataFiles/Index", "x");
  dir.Write("Snap/GnG.PNG", "x");
  for (const auto& [written, found] : std::vector<std::pair<std::string, std::string>>{
           {"\\datafiles\\index.", "DataFiles/Index"}, {"/DATAFILES/INDEX", "DataFiles/Index"},
           {"\\datafiles/index", "DataFiles/Index"}, {"\\snap\\gng.png", "Snap/GnG.PNG"},
           {"\\snap\\\\gng.png", "Snap/GnG.PNG"}, {"\\SNAP\\ZRV_gng.rtf", "Snap/ZRV_gng.rtf"}}) {
    EXPECT_EQ(ResolvePath(dir.Str() + written), dir.Path() / found) << written;
    EXPECT_EQ(FileExists(dir.Str() + written), !found.ends_with(".rtf")) << written;
  }
  EXPECT_EQ(ResolvePath("c:\\nowhere\\x"), std::filesystem::path("/nowhere/x"));
  for (const char* missing : {"/Snap", "/Snap/", "/Snap/c.txt", ""}) EXPECT_FALSE(FileExists(missing[0] ? dir.Str() + missing : ""));
}

// The listing kept of a folder follows the layer's own writes, renames and
// deletions, and another program's changes to it.
TEST(FileSystem, FindsWithoutRegardToCaseWhatTheLayerAndOthersChangedInAListedFolder) {
  testing::TempFolder dir;
  const std::string folder = dir.Str() + "\\Saved\\";
  dir.Write("Saved/First.rtf", "x");
  const auto byOthers = [&](auto change) {
    change();
    std::filesystem::last_write_time(dir.Path() / "Saved", std::filesystem::file_time_type::clock::now() + std::chrono::hours(1));
  };
  const std::vector<std::pair<std::function<void()>, std::vector<std::string>>> steps = {
      {[] {}, {"First.rtf"}},
      {[&] { WriteWholeFile(folder + "Second.RTF", "x"); }, {"First.rtf", "Second.RTF"}},
      {[&] { RenameFile(folder + "FIRST.RTF", folder + "Third.rtf"); }, {"Second.RTF", "Third.rtf"}},
      {[&] { DeleteFile(folder + "second.rtf"); }, {"Third.rtf"}},
      {[&] { byOthers([&] { dir.Write("Saved/Fourth.RTF", "x"); }); }, {"Fourth.RTF", "Third.rtf"}},
      {[&] { AppendLine(folder + "fifth.txt", "x"); }, {"Fourth.RTF", "Third.rtf", "fifth.txt"}},
      {[&] { byOthers([&] { std::filesystem::remove(dir.Path() / "Saved/Third.rtf"); }); }, {"Fourth.RTF", "fifth.txt"}},
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    steps[i].first();
    std::vector<std::string> found;
    for (const char* name : {"FIRST.RTF", "second.rtf", "THIRD.RTF", "fourth.rtf", "FIFTH.TXT"}) {
      if (FileExists(folder + name)) found.push_back(ResolvePath(folder + name).filename().string());
    }
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, steps[i].second) << "step " << i;
  }
}

TEST(FileSystem, EndsLinesAtCrLfAndLoneCrButNeverAtLoneLfAcrossItsBuffer) {
  testing::TempFolder dir;
  const std::vector<std::pair<std::string, std::vector<std::string>>> rows = {
      {"", {}}, {"a", {"a"}}, {"a\r\n", {"a"}}, {"a\r\nb", {"a", "b"}}, {"a\rb\r", {"a", "b"}},
      {"a\nb\r\nc", {"a\nb", "c"}}, {"\r\n\r\n", {"", ""}}, {"a\r\r\nb", {"a", "", "b"}}, {"\n", {"\n"}}};
  std::pair<std::string, std::vector<std::string>> big;
  for (int i = 0; i < 20000; ++i) {
    big.second.push_back(std::string(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26)));
    big.first += big.second.back() + (i % 3 == 0 ? "\r" : "\r\n");
  }
  big.second.push_back(std::string(10'000'000, 'z'));  // one line of 10 MB
  big.first += big.second.back();
  for (const auto& [bytes, expected] : {rows[0], rows[1], rows[2], rows[3], rows[4], rows[5], rows[6], rows[7], rows[8], big}) {
    dir.Write("t.txt", bytes);
    TextFileReader reader(dir.Str() + "\\T.TXT");
    std::vector<std::string> lines;
    for (std::string line; reader.ReadLine(line);) lines.push_back(line);
    EXPECT_EQ(lines, expected) << "input of " << bytes.size() << " bytes";
  }
}

TEST(FileSystem, ReadsStretchesWritesLinesAndRenamesWithoutOverwriting) {
  testing::TempFolder dir;
  const std::string path = dir.Write("d.dat", "0123456789").string();
  EXPECT_EQ(ReadStretch(path, 1, 3) + "|" + ReadStretch(path, 9, 100) + "|" + ReadStretch(path, 11, 5) + "|" +
                ReadStretch(path, 4, 0) + "|" + ReadStretch(path, 1, 2'000'000'000),
            "012|89|||0123456789");
  for (auto [file, offset, number] : {std::tuple{path, 0, 63}, {dir.Str() + "/none.dat", 1, 53}}) {
    try {
      ReadStretch(file, offset, 1);
      ADD_FAILURE() << file;
    } catch (const RunTimeError& e) {
      EXPECT_EQ(e.Number(), number);
    }
  }
  AppendLine(dir.Str() + "\\log.txt", "one");
  AppendLine(dir.Str() + "\\LOG.TXT", "two");
  WriteWholeFile(dir.Str() + "/b.txt", "b");
  EXPECT_FALSE(RenameFile(dir.Str() + "/log.txt", dir.Str() + "/B.TXT"));
  EXPECT_TRUE(DeleteFile(dir.Str() + "/b.txt"));
  EXPECT_TRUE(RenameFile(dir.Str() + "/log.txt", dir.Str() + "/b.txt"));
  EXPECT_EQ(dir.Read("b.txt"), "one\r\ntwo\r\n");
  EXPECT_FALSE(DeleteFile(dir.Str() + "/log.txt"));
}

TEST(FileSystem, ConvertsWindows1252BothWays) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Cp1252ToUtf8("\x80\xe9"), "\xe2\x82\xac\xc3\xa9");
  // Unmappable becomes "?"; text that is not UTF-8 (already Windows-1252, an overlong form) stays as bytes.
  EXPECT_EQ(Utf8ToCp1252("\xe6\x97\xa5|caf\xe9 ok|\xc0\xaf"), "?|caf\xe9 ok|\xc0\xaf");
  EXPECT_TRUE(IsValidUtf8("\xc3\xa9") && !IsValidUtf8("\xed\xa0\x80"));  // not a surrogate
}

}  // namespace
}  // namespace zorv
