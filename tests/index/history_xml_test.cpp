// The same entries given as today's history.xml and as a classic history.dat
// must give the viewer the same history text for every game.
#include <gtest/gtest.h>

#include <string>

#include "index_builder.h"
#include "startup/data_entries.h"
#include "support/temp_folder.h"

namespace zorv::index {
namespace {

using zorv::testing::TempFolder;

constexpr const char* kGames[] = {"a", "b", "c", "d", "e"};
constexpr const char* kList = "<mame><machine name=\"a\"/><machine name=\"b\"/><machine name=\"c\"/>"
                              "<machine name=\"d\"/><machine name=\"e\"/></mame>";

constexpr const char* kXml =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<history version=\"2.51\">\n"
    "<entry><systems><system name=\"a\"/><system name=\"b\"/></systems><text>\n"
    "A &amp; B &#169; &lt;1985&gt; Caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\x80\n\n- TRIVIA -\nLine</text></entry>\n"
    "<entry><software><item list=\"nes\" name=\"c\"/></software><text>home only</text></entry>\n"
    "<entry><systems><system name=\"c\"/></systems><software><item list=\"nes\" name=\"c\"/></software>"
    "<text>C arcade</text></entry>\n"
    "<entry><systems><system name=\"d\"/></systems><text>ends with a blank line\n\n</text></entry>\n</history>\n";

constexpr const char* kClassic =
    "## a classic history.dat\r\n\r\n$info=a,b,\r\n$bio\r\n\r\n"
    "A & B \xA9 <1985> Caf\xE9 \x80 ?\r\n\r\n- TRIVIA -\r\nLine\r\n$end\r\n\r\n"
    "$info=c,\r\n$bio\r\nC arcade\r\n$end\r\n\r\n$info=d,\r\n$bio\r\nends with a blank line\r\n\r\n\r\n$end\r\n";

// What the viewer's start-up makes of one game's record and the history file.
std::string HistoryTextOf(const TempFolder& dir, const std::string& indexName, const std::string& game,
                          const std::string& historyPath) {
  const std::string index = "\r\n" + dir.Read(indexName);
  SharedState state;
  const std::size_t at = index.find("\r\n" + game + ";");
  state.GameRecord = index.substr(at + 2, index.find("\r\n", at + 2) - at - 2);
  state.HistoryPath = historyPath;
  ReadHistory(state);
  return state.HistoryText;
}

TEST(HistoryXml, GivesEveryGameTheTextTheClassicFileGives) {
  TempFolder dir;
  IndexOptions fromXml;
  fromXml.listXml = dir.Write("list.xml", kList);
  fromXml.history = dir.Write("history.xml", kXml).string();
  fromXml.output = dir.Str() + "/index";  // and history.dat beside it
  IndexOptions fromClassic = fromXml;
  fromClassic.history = dir.Write("classic.dat", kClassic).string();
  fromClassic.output = dir.Write("classic/index", "").string();  // and a copy of classic.dat beside it
  BuildIndex(fromXml);
  BuildIndex(fromClassic);

  for (const char* game : kGames) {
    EXPECT_EQ(HistoryTextOf(dir, "index", game, dir.Str() + "/history.dat"),
              HistoryTextOf(dir, "classic/index", game, dir.Str() + "/classic/history.dat")) << game;
  }
  EXPECT_EQ(dir.Read("classic/history.dat"), kClassic);
  EXPECT_EQ(HistoryTextOf(dir, "classic/index", "d", dir.Str() + "/classic/history.dat"), "ends with a blank line\r\n\r\n");
}

}  // namespace
}  // namespace zorv::index
