// Pictures kept in archives: a game's picture is the first of its names at the
// archive's root, then one folder down, whatever their case and their order in
// the archive; a picture deep in a solid block arrives while the caller goes on
// with its own work, or not at all once the caller gives up.
#include "startup/picture_archives.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

using testing::TempFolder;

std::string Picture(const std::string& name) {
  std::ifstream in(std::string(ZORV_DEMO_DIR) + "/pictures/snap/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ArchivePictures, TheRootComesBeforeOneFolderDownAndNothingDeeperCounts) {
  struct Row {
    std::vector<std::string> members;  // zipped in this order
    std::string found;
  };
  const Row rows[] = {
      {{"snap/gng.png", "gng.png"}, "gng.png"},
      {{"snap/gng.png", "other/gng.png"}, "snap/gng.png"},
      {{"a/b/gng.png", "x/GNG.PNG"}, "x/GNG.PNG"},
      {{"a/b/gng.png", "gngx.png", "a/xgng.png"}, ""},
      {{"gng.jpg", "snap/gng.png"}, "snap/gng.png"},
  };
  for (const Row& row : rows) {
    TempFolder dir;
    std::string names;
    for (const std::string& member : row.members) {
      dir.Write("content/" + member, member);
      names += " " + testing::Quoted(member);
    }
    const std::string zip = "cd " + testing::Quoted(dir.Str() + "/content") + " && zip -D ../snap.zip" + names;
    ASSERT_EQ(testing::RunProgram(zip + " >/dev/null").ExitStatus, 0) << zip;
    SharedState state;
    const std::string folder = dir.Str() + "/snap/";
    EXPECT_EQ(FindArchivePicture(state, folder, "gng"), row.found.empty() ? "" : folder + "|" + row.found) << names;
  }
}

TEST(ArchivePictures, APictureDeepInASolidBlockArrivesWhileTheCallerWaitsOrNotAtAll) {
  TempFolder dir;
  std::filesystem::copy_file(std::string(ZORV_TEST_DATA_DIR) + "/archives/solid-64M.7z", dir.Path() / "snap.7z");
  SharedState state;
  const std::string picture = FindArchivePicture(state, dir.Str() + "/snap/", "gng");
  ASSERT_FALSE(picture.empty());
  using Clock = std::chrono::steady_clock;

  int turns = 0;
  auto start = Clock::now();
  EXPECT_EQ(ReadArchivePicture(picture, [&] { return ++turns > 0; }), Picture("gng.png"));
  const auto whole = Clock::now() - start;
  EXPECT_GT(turns, 0) << "64 MiB were decompressed while the caller had no turn";

  turns = 0;
  start = Clock::now();
  EXPECT_EQ(ReadArchivePicture(picture, [&] { return ++turns == 0; }), std::nullopt);
  EXPECT_EQ(turns, 1);
  EXPECT_LT(Clock::now() - start, whole / 2) << "the read given up went on to its end";
}

}  // namespace
}  // namespace zorv
