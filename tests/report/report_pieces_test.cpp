// The pieces of zorv-report's export that no run shows on its own: the names
// files get, the log a game's held lines go to, the memory games wait for, the
// text pages carry.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "export_log.h"
#include "export_names.h"
#include "html_text.h"
#include "memory_budget.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

TEST(ExportNames, TellNamesApartWithoutRegardToCaseKeepTheIndexAndFitIn255Bytes) {
  const std::string longName(251, 'a');  // with ".html", a byte too long
  const std::vector<std::string> roms = {"gng", "GNG", "gng~2", "index", "INDEX", "caf\xe9", "",
                                         ".",   "a/b", "tab\tname", longName, longName + "b"};
  const std::string_view reserved[] = {"index"};
  const std::vector<std::string> expected = {"gng.html",  "GNG~3.html", "gng~2.html", "index~2.html",
                                             "INDEX~3.html", "caf\xc3\xa9.html", "", "", "",
                                             "tab_name.html", longName.substr(0, 248) + "~2.html",
                                             longName.substr(0, 248) + "~3.html"};
  EXPECT_EQ(PageFileNames(roms, ".html", reserved), expected);
  UniqueNames names;
  for (const auto& [wanted, given] : {std::pair{"gng.png", "gng.png"}, {"GNG.PNG", "GNG~2.PNG"}, {"gng.png", "gng~3.png"}}) {
    EXPECT_EQ(names.Take(wanted), given);
  }
}

TEST(ExportLog, WritesEveryHeldLineUnderOneHeaderEndedOrNot) {
  testing::TempFolder dir;
  ExportLog log(dir.Str());
  log.Write("ERROR B - 5\r\nERROR G - 75\r\n");
  log.Write("last line without an end");
  log.Write("a lone CR\rends a line\r\n");
  log.Write("");
  const std::string written = dir.Read("Zorv.Log.txt");
  EXPECT_EQ(written.substr(written.find("\r\n") + 2),
            "ERROR B - 5\r\nERROR G - 75\r\nlast line without an end\r\na lone CR\r\nends a line\r\n");
}

TEST(MemoryBudget, AGameWaitsForWhatItNeedsAndOneLargerThanAllWaitsToBeAlone) {
  MemoryBudget budget(100);
  auto first = budget.Reserve(60);
  std::atomic<bool> secondHasIt = false;
  std::jthread second([&] {
    const auto reservation = budget.Reserve(1000);  // more than there is: all of it
    EXPECT_EQ(reservation.Bytes(), 100u);
    secondHasIt = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(secondHasIt);
  first = {};
  second.join();
  EXPECT_TRUE(secondHasIt);
  EXPECT_EQ(budget.Reserve(100).Bytes(), 100u);
}

TEST(HtmlText, KeepsEveryCharacterTextAndNoneMarkup) {
  EXPECT_EQ(HtmlText(U"<b>&\"'</script>\x01\x1b\x7f\x85\u00e9\t"),
            "&lt;b&gt;&amp;&quot;&#39;&lt;/script&gt;\u2401\u241b\u2421\ufffd\u00e9\t");
  EXPECT_EQ(HtmlTextOfCp1252("Caf\xe9 \x80 <"), "Caf\u00e9 \u20ac &lt;");
  EXPECT_EQ(AddressSegment("caf\xc3\xa9 #1.html"), "caf%C3%A9%20%231.html");
}

}  // namespace
}  // namespace zorv
