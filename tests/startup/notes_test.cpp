#include "startup/notes.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace zorv {
namespace {

using testing::TempFolder;

TEST(GetNotes, TakesTheGamesSection) {
  const struct {
    const char* file;
    const char* notes;
  } cases[] = {
      {"intro\r\n[gng]\r\nline 1\r\n  indented\r\n[other]\r\nx\r\n", "line 1\r\n  indented"},
      {"[gng] my favourite\r\nyes\r\n", "yes"},
      {"see [gng] here\r\nyes\r\n", "yes"},
      {"[gng]\r\n[next]\r\nx\r\n", ""},
      {"[gng]\r\na\r\n   [early\r\nb\r\n", "a"},
      {"[gng]\r\na\r\n\r\n\r\n", "a\r\n\r\n"},
      {"[GNG]\r\na\r\n", ""},
      {"[gng]\r\na\nb\rc", "a\nb\r\nc"},
      {"no section\r\n", ""},
  };
  for (const auto& c : cases) {
    TempFolder dir;
    SharedState state;
    state.ProgramFolder = dir.Str();
    dir.Write("notes.txt", c.file);
    EXPECT_EQ(GetNotes(state, "gng"), c.notes) << c.file;
  }
}

TEST(GetNotes, ProgramFolderFileWinsOverTheDataFolderOne) {
  TempFolder dir;
  SharedState state;
  state.ProgramFolder = dir.Str();
  dir.Write("Datafiles/notes.txt", "[gng]\r\nfrom data\r\n");
  EXPECT_EQ(GetNotes(state, "gng"), "from data");
  dir.Write("Notes.TXT", "[gng]\r\nfrom program\r\n");
  EXPECT_EQ(GetNotes(state, "gng"), "from program");
}

}  // namespace
}  // namespace zorv
