// What the generated collections do not reach in data files: bytes arriving in
// small pieces (a CR LF split between two), a marker word or "$end" inside the
// text, names met twice, and entries the viewer cannot show whole.
#include "dat_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "startup/data_entries.h"
#include "support/temp_folder.h"

namespace zorv::index {
namespace {

DataFileIndex Scan(DataFileKind kind, const std::string& bytes, std::size_t pieceSize = 7) {
  DatScanner scanner(kind, "test.dat", kViewerAddressLimit);
  for (std::size_t at = 0; at < bytes.size(); at += pieceSize) scanner.Feed(std::string_view(bytes).substr(at, pieceSize));
  return scanner.Finish();
}

// What the viewer's own start-up code shows for the stretch the scanner chose.
std::string Shown(DataFileKind kind, const std::string& bytes, const std::string& name, std::size_t pieceSize = 7) {
  const DataReference reference = Scan(kind, bytes, pieceSize).references.at(name);
  zorv::testing::TempFolder dir;
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

TEST(DatScanner, PiecesMarkerWordsAndNamesMetTwice) {
  std::string bytes = "\r\r\n\n";
  for (int i = 0; i < 30; ++i) {
    bytes += "$info=n" + std::to_string(i) + (i % 2 ? "\n$bio\n" : "\r\n$bio\r\n") + std::string(i * 3, 'x') +
             (i % 3 ? "\r\n" : i % 4 ? "\n" : "\r") + "y\r\n$end\r\n";
  }
  bytes += "$info=m1,m2,\r\n$bio\r\nSee $bio here.\r\n$end\r\n$info=m2,m3\r\n$bio\r\nSecond.\r\n$end\r\n";
  for (std::size_t piece : {1, 2, 3, 5, 64}) {
    EXPECT_EQ(Scan(DataFileKind::History, bytes, piece).references, Scan(DataFileKind::History, bytes, 4096).references);
    EXPECT_EQ(Shown(DataFileKind::History, bytes, "n29", piece), std::string(87, 'x') + "\r\ny");
  }
  EXPECT_EQ(Shown(DataFileKind::History, bytes, "m2"), "See $bio here.");
  EXPECT_EQ(Shown(DataFileKind::History, bytes, "m3"), "Second.");
  EXPECT_EQ(Scan(DataFileKind::History, bytes).duplicateNames, std::vector<std::string>{"m2"});
  EXPECT_EQ(Scan(DataFileKind::History, bytes).entryCount, 32U);
  const std::string mameinfo = "$info=h\r\n$mame\r\n0.30\r\nthe $end word\r\n$end\r\n$info=e\r\n$mame\r\n$end\r\n";
  EXPECT_EQ(Shown(DataFileKind::Mameinfo, mameinfo, "h"), "MAME v0.30\r\nthe $end word");
  EXPECT_FALSE(Scan(DataFileKind::Mameinfo, mameinfo).references.contains("e")) << "an empty entry";
  const auto cut = Scan(DataFileKind::History, "$info=cut,x\r\n$bio\r\nThe $end is near.\r\n$end\r\n");
  EXPECT_EQ(cut.inexactNames, std::vector<std::string>{"cut"});
  EXPECT_TRUE(cut.references.contains("x"));
  const auto padded = Scan(DataFileKind::History, "$info=\tp1 , p2\t,\r\n$bio\r\nPadded.\r\n$end\r\n");
  EXPECT_TRUE(padded.references.contains("p1") && padded.references.contains("p2"))
      << "names padded with blanks and tabs";
}

TEST(DatScanner, PassesOverEntriesWithoutEnd) {
  EXPECT_EQ(Scan(DataFileKind::History, "\r\n$info=a,\r\n$bio\r\ntext\r\n").unendedEntries,
            std::vector<std::string>{"line 2 ($info=a,)"});
  const auto scanned = Scan(DataFileKind::History, "$info=a\r\n$bio\r\ntext\r\n$info=b\r\n$bio\r\nB\r\n$end\r\n");
  EXPECT_TRUE(scanned.unendedEntries.size() == 1 && scanned.references.contains("b") && !scanned.references.contains("a"));
}

}  // namespace
}  // namespace zorv::index
