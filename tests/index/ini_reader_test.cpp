#include "ini_reader.h"

#include <gtest/gtest.h>

namespace zorv::index {
namespace {

TEST(IniReader, ReadsOnlyTheWantedSectionsWhateverTheLineEndings) {
  const std::string catver =
      "\xEF\xBB\xBF[FOLDER_SETTINGS]\r\nRootFolderIcon mame\r\n\r\n;; CATVER.ini ;;\r\n[ROOT_FOLDER]\r\n"
      "[Category]\r\ngng=Platform / Run Jump\r\n  pacman = Maze / Collect\nmature=Puzzle / Match * Mature *\r"
      "broken line\r\n=no name\r\ngng=Second / Value\r\n[veradded]\ngng=0.37b5\n[Other]\ngng=elsewhere\n";
  const auto sections = ParseIniSections(catver, {"Category", "VerAdded"});
  ASSERT_EQ(sections.size(), 2u);
  const IniSection expectedCategory = {
      {"gng", "Platform / Run Jump"}, {"pacman", "Maze / Collect"}, {"mature", "Puzzle / Match * Mature *"}};
  EXPECT_EQ(sections[0], expectedCategory);
  EXPECT_EQ(sections[1], (IniSection{{"gng", "0.37b5"}}));
}

TEST(IniReader, ValuesBecomeWindows1252FromUtf8OrAsTheyStand) {
  const auto sections = ParseIniSections("[NPlayers]\r\nu=2P caf\xC3\xA9\r\nw=2P caf\xE9\r\nk=\xE6\x9D\xB1\r\n", {"nplayers"});
  EXPECT_EQ(sections[0].at("u"), "2P caf\xE9");
  EXPECT_EQ(sections[0].at("w"), "2P caf\xE9");
  EXPECT_EQ(sections[0].at("k"), "?");
}

TEST(IniReader, AMissingSectionGivesAnEmptyMap) {
  const auto sections = ParseIniSections("a=b\r\n", {"NPlayers"});
  ASSERT_EQ(sections.size(), 1u);
  EXPECT_TRUE(sections[0].empty());
}

}  // namespace
}  // namespace zorv::index
