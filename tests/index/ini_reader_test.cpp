// The ini files collectors bring, as written by hand or by other tools: padded
// names and values, sections in any case, comments and line ends of any kind.
#include "ini_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorv::index {
namespace {

TEST(IniReader, ReadsTheLinesAsCollectorsWriteThem) {
  struct Case {
    const char* name;
    std::string bytes;
    IniSection expected;  // [Category]
  };
  const std::vector<Case> cases = {
      {"plain", "[Category]\r\ngng=Platform / Run Jump\r\n", {{"gng", "Platform / Run Jump"}}},
      {"names and values padded with spaces and tabs", "[Category]\r\n \tgng\t = \tPlatform \t\r\n",
       {{"gng", "Platform"}}},
      {"a padded section line in another case", "\t[CATEGORY] \nA=1\n", {{"A", "1"}}},
      {"comments, other sections, lone CRs", "[VerAdded]\rgng=.37\r;x=1\r[category]\rgng=Maze\r", {{"gng", "Maze"}}},
      {"the first line for a name wins", "[Category]\ngng=One\ngng=Two\n", {{"gng", "One"}}},
      {"UTF-8 values become Windows-1252", "\xEF\xBB\xBF[Category]\ngng=Caf\xC3\xA9\n", {{"gng", "Caf\xE9"}}},
      {"a name of blanks alone is no name", "[Category]\n \t=Maze\n", {}},
  };
  for (const Case& c : cases) {
    const std::vector<IniSection> sections = ParseIniSections(c.bytes, {"Category"});
    ASSERT_EQ(sections.size(), 1u) << c.name;
    EXPECT_EQ(sections[0], c.expected) << c.name;
  }
}

}  // namespace
}  // namespace zorv::index
