#include "index_options.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/run_time_error.h"

namespace zorv::index {
namespace {

CommandLine Parse(std::vector<std::string_view> arguments) { return ParseCommandLine(arguments); }

TEST(CommandLine, TakesEveryOptionInBothSpellings) {
  const CommandLine c = Parse({"--listxml", "-", "--history=h.dat", "--mameinfo", "m.dat", "--catver", "c.ini",
                               "--nplayers=n.ini", "--roms", "roms", "--output", "out/index"});
  EXPECT_FALSE(c.showHelp);
  EXPECT_EQ(c.options.listXml, "-");
  EXPECT_EQ(c.options.history, "h.dat");
  EXPECT_EQ(c.options.mameinfo, "m.dat");
  EXPECT_EQ(c.options.catver, "c.ini");
  EXPECT_EQ(c.options.nplayers, "n.ini");
  EXPECT_EQ(c.options.romFolder, "roms");
  EXPECT_EQ(c.options.output, "out/index");
  EXPECT_TRUE(Parse({"--output", "x", "--help"}).showHelp);
  EXPECT_TRUE(Parse({"-h"}).showHelp);
}

TEST(CommandLine, RefusesWhatItCannotUse) {
  const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases = {
      {{}, "--listxml is required"},
      {{"--listxml", "a.xml"}, "--output is required"},
      {{"--listxml", "a.xml", "--output"}, "--output needs a value"},
      {{"--listxml=", "--output", "x"}, "--listxml needs a value"},
      {{"--listxml", "a", "--listxml", "b", "--output", "x"}, "--listxml is given twice"},
      {{"--listxml", "a", "--output", "x", "--verbose"}, "unknown option \"--verbose\""},
      {{"--listxml", "a", "--output", "-"}, "--output must name a file"},
  };
  for (const auto& [arguments, message] : cases) {
    try {
      Parse(arguments);
      ADD_FAILURE() << message;
    } catch (const RunTimeError& failure) {
      EXPECT_EQ(failure.what(), message);
      EXPECT_EQ(failure.Number(), 5);
    }
  }
}

}  // namespace
}  // namespace zorv::index
