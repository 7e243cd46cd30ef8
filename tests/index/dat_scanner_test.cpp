#include "dat_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/run_time_error.h"
#include "startup/data_entries.h"
#include "support/temp_folder.h"

namespace zorv::index {
namespace {

using zorv::testing::TempFolder;

DataFileIndex Scan(DataFileKind kind, const std::string& bytes, std::size_t pieceSize = 7,
                   std::uint64_t limit = kViewerAddressLimit) {
  DatScanner scanner(kind, "test.dat", limit);
  for (std::size_t at = 0; at < bytes.size(); at += pieceSize) scanner.Feed(std::string_view(bytes).substr(at, pieceSize));
  return scanner.Finish();
}

// What the viewer's own start-up code shows for the stretch the scanner chose.
std::string Shown(DataFileKind kind, const std::string& bytes, const DataReference& reference) {
  TempFolder dir;
  SharedState state;
  state.ProgramFolder = dir.Str();
  const std::string where = std::to_string(reference.offset) + "," + std::to_string(reference.length);
  if (kind == DataFileKind::History) {
    state.HistoryPath = dir.Write("history.dat", bytes).string();
    state.GameRecord = "x;Q" + where + ";U";
    ReadHistory(state);
    return state.HistoryText;
  }
  state.MameinfoPath = dir.Write("mameinfo.dat", bytes).string();
  state.GameRecord = "x;U" + where;
  ReadMameinfo(state);
  return state.MameinfoText;
}

struct EntryCase {
  const char* what;
  DataFileKind kind;
  std::string bytes;
  std::vector<std::string> names;
  std::string shown;  // the entry's text as the viewer must show it
};

TEST(DatScanner, TheViewerShowsExactlyEachEntryWhateverTheLineEndings) {
  const std::string header = "## a data file\r\n##\r\n\r\n";
  const std::vector<EntryCase> cases = {
      {"CR LF", DataFileKind::History,
       header + "$info=a,b,\r\n$bio\r\n\r\nText one.\r\n\r\n- TRIVIA -\r\nMore.\r\n\r\n$end\r\n\r\n",
       {"a", "b"}, "\r\nText one.\r\n\r\n- TRIVIA -\r\nMore.\r\n"},
      {"LF", DataFileKind::History, "$info=c\n$bio\n\nText two.\n- SCORING -\nTop.\n$end\n", {"c"},
       "\nText two.\n- SCORING -\nTop."},
      {"mixed", DataFileKind::History, "$info= d , e\r\n$bio\nLine one\r\nLine two\n$end\r\n", {"d", "e"},
       "Line one\r\nLine two"},
      {"marker word in text", DataFileKind::History, "$info=f,\r\n$bio\r\nSee $bio here.\r\n$end\r\n", {"f"},
       "See $bio here."},
      {"blanks after $end", DataFileKind::History, "$info=g,\r\n$bio\r\nOne.\r\n$end  \r\n", {"g"}, "One."},
      {"mameinfo CR LF", DataFileKind::Mameinfo, header + "$info=gng\r\n$mame\r\n0.22 [A. Person]\r\n\r\nNOTE: x\r\n\r\n$end\r\n",
       {"gng"}, "MAME v0.22 [A. Person]\r\n\r\nNOTE: x\r\n"},
      {"mameinfo LF", DataFileKind::Mameinfo, "$info=gng\n$mame\n0.22\nx\n$end\n", {"gng"}, "0.22\nx"},
      {"mameinfo with $end in the text", DataFileKind::Mameinfo,
       "$info=h\r\n$mame\r\n0.30\r\nthe $end word\r\n$end\r\n", {"h"}, "MAME v0.30\r\nthe $end word"},
  };
  for (const auto& c : cases) {
    const DataFileIndex scanned = Scan(c.kind, c.bytes);
    EXPECT_TRUE(scanned.inexactNames.empty()) << c.what;
    ASSERT_EQ(scanned.references.size(), c.names.size()) << c.what;
    for (const auto& name : c.names) {
      ASSERT_TRUE(scanned.references.contains(name)) << c.what << ": " << name;
      EXPECT_EQ(Shown(c.kind, c.bytes, scanned.references.at(name)), c.shown) << c.what << ": " << name;
    }
  }
}

TEST(DatScanner, PositionsDoNotDependOnHowTheBytesArrive) {
  std::string bytes;
  for (int i = 0; i < 50; ++i) {
    bytes += "$info=n" + std::to_string(i) + (i % 2 ? "\n$bio\n" : "\r\n$bio\r\n") + std::string(i * 3, 'x') +
             (i % 3 ? "\r\n" : "\n") + "$end\r\n";
  }
  const auto whole = Scan(DataFileKind::History, bytes, bytes.size()).references;
  for (std::size_t piece : {1, 2, 5, 64}) EXPECT_EQ(Scan(DataFileKind::History, bytes, piece).references, whole);
  EXPECT_EQ(Shown(DataFileKind::History, bytes, whole.at("n49")), std::string(147, 'x'));
}

TEST(DatScanner, DriverNotesAndEmptyEntriesGiveNoReference) {
  const std::string mameinfo =
      "$info=gng.c\r\n$drv\r\nDriver notes\r\n$end\r\n$info=empty\r\n$mame\r\n$end\r\n$info=gng\r\n$mame\r\n0.1\r\n$end\r\n";
  const auto scanned = Scan(DataFileKind::Mameinfo, mameinfo);
  EXPECT_EQ(scanned.entryCount, 3u);
  EXPECT_FALSE(scanned.references.contains("gng.c"));
  EXPECT_TRUE(scanned.references.contains("gng"));
  const auto history = Scan(DataFileKind::History, "$info=a\r\n$bio\r\n$end\r\n");
  EXPECT_TRUE(history.references.empty());
}

TEST(DatScanner, TheFirstEntryServesANameMetTwice) {
  const std::string bytes =
      "$info=m1,m2,\r\n$bio\r\nFirst.\r\n$end\r\n$info=m2,m3\r\n$bio\r\nSecond.\r\n$end\r\n$info=m2\r\n$bio\r\nThird.\r\n$end\r\n";
  const auto scanned = Scan(DataFileKind::History, bytes);
  EXPECT_EQ(Shown(DataFileKind::History, bytes, scanned.references.at("m2")), "First.");
  EXPECT_EQ(Shown(DataFileKind::History, bytes, scanned.references.at("m3")), "Second.");
  EXPECT_EQ(scanned.duplicateNames, std::vector<std::string>{"m2"});
}

TEST(DatScanner, AnEntryTheViewerCannotShowWholeIsReported) {
  const auto scanned = Scan(DataFileKind::History, "$info=cut,x\r\n$bio\r\nThe $end is near.\r\n$end\r\n");
  EXPECT_EQ(scanned.inexactNames, std::vector<std::string>{"cut"});
  EXPECT_TRUE(scanned.references.contains("x"));
}

std::string FailureOf(const std::string& bytes, std::uint64_t limit = kViewerAddressLimit) {
  try {
    Scan(DataFileKind::History, bytes, 7, limit);
  } catch (const RunTimeError& failure) {
    return failure.what();
  }
  return "no failure";
}

TEST(DatScanner, PassesOverEntriesWithoutEndAndRefusesEntriesBeyondTheViewersReach) {
  EXPECT_EQ(Scan(DataFileKind::History, "\r\n$info=a,\r\n$bio\r\ntext\r\n").unendedEntries,
            std::vector<std::string>{"line 2 ($info=a,)"});
  const auto scanned = Scan(DataFileKind::History, "$info=a\r\n$bio\r\ntext\r\n$info=b\r\n$bio\r\nB\r\n$end\r\n");
  EXPECT_TRUE(scanned.unendedEntries.size() == 1 && scanned.references.contains("b") && !scanned.references.contains("a"));
  const std::string entry = "$info=a\r\n$bio\r\n0123456789\r\n$end\r\n";  // text at bytes 16 to 25
  EXPECT_EQ(FailureOf(entry, 25), "no failure");
  EXPECT_EQ(FailureOf(entry, 24),
            "test.dat: the entry at line 1 ends at byte 25, beyond byte 24, the furthest the viewer can read; the file "
            "is too large");
}

}  // namespace
}  // namespace zorv::index
