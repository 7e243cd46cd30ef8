#include "window/usage_sheet.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zorv {
namespace {

TEST(UsageText, HasFortySixLinesAndNoFinalLineBreak) {
  const std::string text = UsageText();
  std::size_t breaks = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++breaks;
  EXPECT_EQ(breaks, 45u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 45);
  EXPECT_TRUE(text.starts_with(" [Press 'ESC' key to exit]\r\n\r\n Zorvane is part of Quorbis. See : "));
  EXPECT_TRUE(text.ends_with("Hit 'Esc' or '&' key to exit."));
  EXPECT_NE(text.find("created by Quorbis. \r\n"), std::string::npos);  // line 25 ends with a blank
  EXPECT_NE(text.find("/center /defaultrtf]\r\n"), std::string::npos);
  EXPECT_NE(text.find("displaed."), std::string::npos);
}

}  // namespace
}  // namespace zorv
