#include "startup/leading_number.h"

#include <gtest/gtest.h>

#include "platform/run_time_error.h"

namespace zorv {
namespace {

int ErrorOf(auto&& call) {
  try {
    call();
  } catch (const RunTimeError& e) {
    return e.Number();
  }
  return 0;
}

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfTheText) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"", 0},          {"abc", 0},        {"12", 12},         {"  12", 12},       {"\t1\n2 3x", 123},
      {"-7", -7},       {"+7", 7},         {"1.5", 1.5},       {".5", 0.5},        {"1.", 1},
      {"1e3", 1000},    {"1E+2;x", 100},   {"2.5e-1", 0.25},   {"1e", 1},          {"1d2", 100},
      {"12,34", 12},    {"7;B", 7},        {"&H10", 16},       {"&hff", 255},      {"&O17", 15},
      {"&HFFFF", -1},   {"&H10000", 65536}, {"&HFFFFFFFF", -1}, {"&H", 0},          {"&X1", 0},
      {"- 5", -5},      {"1,2", 1},        {"--1", 0},         {"1.2.3", 1.2},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;
}

TEST(LeadingNumber, OverflowsOnNumbersTooLargeForAnyType) {
  EXPECT_EQ(ErrorOf([] { LeadingNumber("1e999"); }), 6);
  EXPECT_EQ(ErrorOf([] { LeadingNumber("&H100000000"); }), 6);
}

TEST(RoundToLong, RoundsHalvesToEvenAndOverflowsOutside32Bits) {
  const struct {
    double value;
    int rounded;
  } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.49, 0}, {10.5, 10}, {21.0, 21}, {2147483647.0, 2147483647}};
  for (const auto& c : cases) EXPECT_EQ(RoundToLong(c.value), c.rounded) << c.value;
  EXPECT_EQ(ErrorOf([] { RoundToLong(2147483648.0); }), 6);
  EXPECT_EQ(ErrorOf([] { RoundToLong(-2147483649.0); }), 6);
}

TEST(ToLong, TakesOnlyTextThatIsWhollyANumber) {
  EXPECT_EQ(ToLong(" 42 "), 42);
  EXPECT_EQ(ToLong("2.5"), 2);
  EXPECT_EQ(ToLong("&H1F"), 31);
  for (const char* bad : {"", " ", "12a", "a", "1 2", "1,5", "&H", "&HG"}) {
    EXPECT_EQ(ErrorOf([&] { ToLong(bad); }), 13) << bad;
  }
  EXPECT_EQ(ErrorOf([] { ToLong("99999999999"); }), 6);
}

}  // namespace
}  // namespace zorv
