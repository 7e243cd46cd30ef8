#include "startup/command_line.h"

#include <gtest/gtest.h>

namespace zorv {
namespace {

TEST(TakeCommandLineApart, FindsTheRomNameAndSwitches) {
  const struct {
    const char* command;
    const char* rom;
    bool accepted;
    bool usage;
  } cases[] = {
      {"", "", true, true},
      {"   ", "", true, true},
      {"gng", "gng", true, false},
      {"  gng  ", "gng", true, false},
      {"\"gng\"", "gng", true, false},
      {"\"gng\" /center", "gng\"", true, false},
      {"gng.zip", "gng", true, false},
      {"gng.ZIP /NoImage", "gng", true, false},
      {"gng.zip.zip", "gng.zip", true, false},
      {"GnG", "GnG", true, false},
      {"gng extra words", "gng extra words", true, false},
      {"/noimage", "", false, false},
      {"\"\"", "", false, false},
      {"/center gng", "", false, false},
      {".zip", "", false, false},
  };
  for (const auto& c : cases) {
    SharedState state;
    EXPECT_EQ(TakeCommandLineApart(state, c.command), c.accepted) << c.command;
    EXPECT_EQ(state.RomName, c.rom) << c.command;
    EXPECT_EQ(state.ShowUsage, c.usage) << c.command;
  }
}

TEST(TakeCommandLineApart, SetsSwitchesFoundAnywhereWithoutRegardToCase) {
  SharedState state;
  ASSERT_TRUE(TakeCommandLineApart(state, "gng.zip /NoImage /ontop /nosnapshots /CENTER /defaultRTF /unknown"));
  EXPECT_TRUE(state.NoImage);
  EXPECT_TRUE(state.OnTop);
  EXPECT_TRUE(state.NoSnap);
  EXPECT_TRUE(state.Center);
  EXPECT_TRUE(state.DefaultRtf);
  EXPECT_FALSE(state.NoTitle || state.NoFlyer || state.NoMarquee || state.NoCabinet || state.NoCpanel);

  SharedState all;
  TakeCommandLineApart(all, "x/notitle/noflyer/nomarquee/nocabinet/nocpanel");
  EXPECT_TRUE(all.NoTitle && all.NoFlyer && all.NoMarquee && all.NoCabinet && all.NoCpanel);
  EXPECT_EQ(all.RomName, "x");
}

}  // namespace
}  // namespace zorv
