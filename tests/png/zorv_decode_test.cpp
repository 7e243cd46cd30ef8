// zorv-decode as a user runs it.
#include <gtest/gtest.h>

#include <string>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

using testing::Quoted;

TEST(ZorvDecode, OutcomesAndExitStatus) {
  testing::TempFolder folder;
  const std::string out = Quoted((folder.Path() / "out.ppm").string());
  const std::string suite = std::string(ZORV_TEST_DATA_DIR) + "/pngsuite/";
  const auto png = [&](const char* name) { return Quoted(suite + name); };
  const std::vector<std::tuple<std::string, int, const char*>> cases = {
      {png("xs1n0g01.png") + " " + out, 1, "ErrorNumber 1"},
      {png("xd9n2c08.png") + " " + out, 1, "run-time error 9"},
      {png("xc1n0g08.png") + " " + out, 1, "nothing drawn"},
      {"--info " + png("ctzn0g04.png"), 0, "zText Copyright\\0Copyright Willem van Schaik"},
      {"--info " + png("cm7n0g04.png"), 0, "ModiTime 01.01.1970 00:00:00"},
      {"-i " + png("g25n0g16.png"), 0, "gama 2.5"},
      {"--null --repeat 2 " + png("basn0g01.png") + " " + png("basi6a16.png"), 0, ""},
      {"--null " + png("basn0g01.png") + " " + png("xs1n0g01.png"), 1, "ErrorNumber 1"},
      {"--background 12345 a.png b.ppm", 2, "not RRGGBB"},
      {"--repeat 0 --null a.png", 2, "not a positive number"},
      {"only-one.png", 2, "give IN.png and OUT.ppm"},
      {"--frobnicate", 2, "Try 'zorv-decode --help'"},
      {"--help", 0, "Usage: zorv-decode"},
      // A 32 x 32 grey image whose tRNS level is black: the background shows through.
      {"--background ff8000 " + png("tbbn0g04.png") + " " + out, 0, ""}};
  for (const auto& [arguments, exitStatus, output] : cases) {
    const auto result = testing::RunProgram(
        Quoted(std::string(ZORV_BINARY_DIR) + "/tools/zorv-decode/zorv-decode") + " " + arguments + " 2>&1");
    EXPECT_EQ(result.ExitStatus, exitStatus) << arguments << "\n" << result.Output;
    EXPECT_NE(result.Output.find(output), std::string::npos) << arguments << "\n" << result.Output;
  }
  const std::string ppm = folder.Read("out.ppm");
  ASSERT_EQ(ppm.size(), 13 + 32 * 32 * 3);
  EXPECT_EQ(ppm.substr(0, 13), "P6\n32 32\n255\n");
  EXPECT_NE(ppm.find("\xff\x80", 13), std::string::npos);
}

}  // namespace
}  // namespace zorv
