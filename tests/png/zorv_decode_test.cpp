// zorv-decode as a user runs it.
#include <gtest/gtest.h>

#include <string>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

using testing::Quoted;
using testing::RunProgram;

const std::string kProgram = Quoted(std::string(ZORV_BINARY_DIR) + "/tools/zorv-decode/zorv-decode");
const std::string kSuite = std::string(ZORV_TEST_DATA_DIR) + "/pngsuite/";

testing::ProgramResult Decode(const std::string& arguments) {
  return RunProgram(kProgram + " " + arguments + " 2>&1");
}

TEST(ZorvDecode, WritesTheBoxPictureAsPpmOnTheBackgroundColour) {
  testing::TempFolder folder;
  const std::string out = (folder.Path() / "out.ppm").string();
  // A 32 x 32 grey image whose tRNS level is black, every other level opaque.
  const auto result = Decode("--background ff8000 " + Quoted(kSuite + "tbbn0g04.png") + " " + Quoted(out));
  ASSERT_EQ(result.ExitStatus, 0) << result.Output;
  const std::string ppm = folder.Read("out.ppm");
  const std::string header = "P6\n32 32\n255\n";
  ASSERT_EQ(ppm.substr(0, header.size()), header);
  ASSERT_EQ(ppm.size(), header.size() + 32 * 32 * 3);
  EXPECT_NE(ppm.find("\xff\x80", header.size()), std::string::npos);  // the background shows through
}

TEST(ZorvDecode, OutcomesAndExitStatus) {
  testing::TempFolder folder;
  const std::string out = Quoted((folder.Path() / "out.ppm").string());
  struct Case {
    std::string arguments;
    int exitStatus;
    const char* output;
  };
  const std::vector<Case> cases = {
      {Quoted(kSuite + "xs1n0g01.png") + " " + out, 1, "ErrorNumber 1"},
      {Quoted(kSuite + "xd9n2c08.png") + " " + out, 1, "run-time error 9"},
      {Quoted(kSuite + "xc1n0g08.png") + " " + out, 1, "nothing drawn"},
      {"--info " + Quoted(kSuite + "ctzn0g04.png"), 0, "zText Copyright\\0Copyright Willem van Schaik"},
      {"--info " + Quoted(kSuite + "cm7n0g04.png"), 0, "ModiTime 01.01.1970 00:00:00"},
      {"-i " + Quoted(kSuite + "g25n0g16.png"), 0, "gama 2.5"},
      {"--null --repeat 2 " + Quoted(kSuite + "basn0g01.png") + " " + Quoted(kSuite + "basi6a16.png"), 0, ""},
      {"--null " + Quoted(kSuite + "basn0g01.png") + " " + Quoted(kSuite + "xs1n0g01.png"), 1, "ErrorNumber 1"},
      {"--background 12345 a.png b.ppm", 2, "not RRGGBB"},
      {"--repeat 0 --null a.png", 2, "not a positive number"},
      {"only-one.png", 2, "wrong number of files"},
      {"--frobnicate", 2, "Try 'zorv-decode --help'"},
      {"--help", 0, "Usage: zorv-decode"},
  };
  for (const Case& c : cases) {
    const auto result = Decode(c.arguments);
    EXPECT_EQ(result.ExitStatus, c.exitStatus) << c.arguments << "\n" << result.Output;
    EXPECT_NE(result.Output.find(c.output), std::string::npos) << c.arguments << "\n" << result.Output;
  }
}

}  // namespace
}  // namespace zorv
