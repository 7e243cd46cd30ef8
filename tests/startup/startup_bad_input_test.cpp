// Collections that are damaged or unusually large: each run ends with a report
// or one log line, never a crash.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "startup/startup.h"
#include "support/temp_folder.h"

namespace zorv {
namespace {

using testing::TempFolder;

std::string Junk(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

TEST(BadInput, BinaryJunkInEveryTextFileEndsInAReportOrALogLine) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    TempFolder dir;
    const std::string junk = Junk(5000, seed);
    for (const char* file : {"datafiles/index", "datafiles/history.dat", "datafiles/mameinfo.dat", "notes.txt",
                             "Zorv.inf", "quorbis.inf"}) {
      dir.Write(file, junk);
    }
    SharedState state;
    state.ProgramFolder = dir.Str();
    const StartupOutcome outcome = Main(state, "gng");
    EXPECT_TRUE(outcome != StartupOutcome::SilentStop || dir.Exists("Zorv.Log.txt")) << seed;
  }
}

}  // namespace
}  // namespace zorv
