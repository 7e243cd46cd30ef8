// A file written aside and renamed into place: whole or absent, its temporary
// name short, and removable at once by a signal handler or by a later run.
#include "platform/staged_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <vector>

#include "support/temp_folder.h"

namespace zorv {
namespace {

namespace fs = std::filesystem;

std::size_t FilesIn(const fs::path& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(StagedFile, IsWholeOrAbsentAndItsTemporariesGoWhenAsked) {
  testing::TempFolder dir;
  const std::string longest(250, 'n');
  WriteWholeFile(dir.Path() / (longest + ".html"), "whole");
  EXPECT_EQ(dir.Read(longest + ".html"), "whole");
  {
    StagedFile abandoned(dir.Path() / "abandoned.txt");
    abandoned.Append("half");
  }
  EXPECT_EQ(FilesIn(dir.Path()), 1u);

  // What a signal handler does while files are being written: they go, the written one stays.
  std::optional<StagedFile> first(dir.Path() / "a.txt"), second(dir.Path() / "b.txt");
  first->Append("a");
  EXPECT_EQ(FilesIn(dir.Path()), 3u);
  RemovePendingTemporaries();
  EXPECT_EQ(FilesIn(dir.Path()), 1u);
  first.reset();
  second.reset();

  // A later run removes what a vanished process left, and nothing else.
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  for (const std::string& name : std::vector<std::string>{".zorv-" + std::to_string(gone) + "-3.tmp",
                                                          ".zorv-" + std::to_string(::getppid()) + "-1.tmp",
                                                          ".zorv-notes.tmp", "zorv-1-1.tmp"}) {
    dir.Write(name, "x");
  }
  EXPECT_EQ(RemoveStaleTemporaries(dir.Path()), 1u);
  EXPECT_EQ(FilesIn(dir.Path()), 4u);
}

}  // namespace
}  // namespace zorv
