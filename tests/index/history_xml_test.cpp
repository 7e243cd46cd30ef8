// The same entries given as today's history.xml and as a classic history.dat
// must give the viewer the same history text for every game.
#include <gtest/gtest.h>

#include <string>

#include "history_xml_reader.h"
#include "index_builder.h"
#include "platform/run_time_error.h"
#include "startup/data_entries.h"
#include "support/temp_folder.h"

namespace zorv::index {
namespace {

using zorv::testing::TempFolder;

constexpr const char* kGames[] = {"a", "b", "c", "d", "e"};
constexpr const char* kThreeGamesList = "<mame><machine name=\"a\"/><machine name=\"b\"/><machine name=\"c\"/>"
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
  fromXml.listXml = dir.Write("list.xml", kThreeGamesList);
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

// A "$" that would make a line of the text read as the classic file's markup
// is followed by a soft hyphen: the entry keeps its whole text, and no line of
// it opens an entry of its own, there or when the file written is indexed again.
TEST(HistoryXml, TextThatWouldReadAsMarkupStaysText) {
  TempFolder dir;
  IndexOptions options;
  options.listXml = dir.Write("list.xml", "<mame><machine name=\"gng\"/><machine name=\"evil\"/></mame>");
  options.history = dir.Write("history.xml", "<history><entry><systems><system name=\"gng\"/></systems><text>"
                                             "Good&#13;$end&#13;$info=evil&#13;$bio  &#13;Costs $end. $bios</text>"
                                             "</entry></history>").string();
  options.output = dir.Str() + "/index";
  BuildIndex(options);
  IndexOptions again = options;
  again.history = dir.Str() + "/history.dat";
  again.output = dir.Write("again/index", "").string();
  BuildIndex(again);
  for (const char* index : {"index", "again/index"}) {
    EXPECT_EQ(HistoryTextOf(dir, index, "gng", again.history),
              "Good\r\n$\xAD" "end\r\n$\xAD" "info=evil\r\n$\xAD" "bio  \r\nCosts $\xAD" "end. $bios") << index;
    EXPECT_EQ(HistoryTextOf(dir, index, "evil", again.history), "") << index;
  }
}

TEST(HistoryXml, RefusesEntitiesThatExpandFarAndTextsLongerThanAnyEntry) {
  const std::string entity(290, 'A');
  std::string expanding;
  for (int i = 0; i < 20000; ++i) expanding += "&e;";
  const std::pair<std::string, std::string> rows[] = {
      {"<!DOCTYPE history [<!ENTITY e \"" + entity + "\">]>\n<history>\n<entry><systems><system name=\"gng\"/>"
       "</systems><text>" + expanding + "</text></entry></history>",
       "limit on input amplification factor (from DTD and entities) breached (in the <entry> at line 3 for gng)"},
      {"<history>\n\n<entry><systems><system name=\"gng\"/></systems><text>" + std::string(17 << 20, 'a') +
       "</text></entry></history>",
       "a history text longer than 16777216 bytes (in the <entry> at line 3 for gng)"},
  };
  for (const auto& [xml, message] : rows) {
    std::size_t written = 0;
    HistoryXmlConverter converter("history.xml", [&](std::string_view bytes) { written += bytes.size(); });
    try {
      converter.Feed(xml, true);
      ADD_FAILURE() << message;
    } catch (const RunTimeError& failure) {
      EXPECT_NE(std::string(failure.what()).find(message), std::string::npos) << failure.what();
    }
    EXPECT_EQ(written, 0u);
  }
}

}  // namespace
}  // namespace zorv::index
