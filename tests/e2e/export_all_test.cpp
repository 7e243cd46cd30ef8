// zorv-report --all over a small collection: every file is what a run of its
// own writes, a bad record fails alone, a bad folder or Ctrl-C leaves no file.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_program.h"
#include "support/small_collection.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

using testing::Quoted;

class ExportAllTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_symlink(std::string(ZORV_BINARY_DIR) + "/apps/zorv-report/zorv-report",
                                    dir.Path() / "zorv-report");
    testing::WriteSmallCollection(dir);
    std::string records = "gngj;BGng (Japan);Sgng;C1;D1;R0;L#;P0;Q0,0;U1,9\r\nbroken;Bno end\r\n";
    for (int i = 0; i < 3000; ++i) records += "g" + std::to_string(i) + ";BGame;S;C1;R0;L#;P0;Q0,0;U1,9\r\n";
    dir.Write("DataFiles/Index", records + dir.Read("DataFiles/Index"));
    std::filesystem::create_directory(dir.Path() / "out");
  }
  testing::ProgramResult Run(const std::string& arguments) {
    return testing::RunProgram(Quoted(dir.Str() + "/zorv-report") + " " + arguments + " 2>&1");
  }
  testing::TempFolder dir;
};

TEST_F(ExportAllTest, EveryGameIsItsOwnRunAndOnlyTheBrokenOneFails) {
  const auto result = Run("--all --output-dir " + Quoted(dir.Str() + "/out") + " --format html --jobs 3 /nosnap");
  EXPECT_EQ(result.ExitStatus, 1);
  EXPECT_NE(result.Output.find("3002 of 3003 reports written"), std::string::npos) << result.Output;
  for (const char* rom : {"gng", "gngj", "g0", "g2999"}) {
    EXPECT_EQ(dir.Read(std::string("out/") + rom + ".html"), Run(std::string("--format html ") + rom + " /nosnap").Output);
    EXPECT_NE(dir.Read("out/index.html").find(std::string("<a href=\"") + rom + ".html\">"), std::string::npos);
  }
  EXPECT_FALSE(dir.Exists("out/broken.html"));
  const std::string log = dir.Read("Zorv.Log.txt");
  EXPECT_EQ(log.substr(log.find("\r\n")), "\r\nERROR B - 5\r\n");  // one header, the broken game's line
}

TEST_F(ExportAllTest, ABadFolderOrCtrlCLeavesNoFile) {
  EXPECT_EQ(Run("--all --output-dir " + Quoted(dir.Str() + "/missing")).ExitStatus, 1);
  EXPECT_EQ(Run("--all --output-dir /proc/self").ExitStatus, 1);
  const auto result = Run("--all --output-dir " + Quoted(dir.Str() + "/out") + " --jobs 2 & sleep 0.5; kill -INT $!; wait $!");
  EXPECT_EQ(result.ExitStatus, 1) << result.Output;
  for (const auto& file : std::filesystem::directory_iterator(dir.Path() / "out")) {
    EXPECT_TRUE(file.path().extension() == ".rtf" && dir.Read("out/" + file.path().filename().string()).ends_with("}"))
        << file.path();
  }
}

}  // namespace
}  // namespace zorv
