#include "line_splitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorv::index {
namespace {

struct Line {
  std::uint64_t start;
  std::string text;
  std::string ending;
  friend bool operator==(const Line&, const Line&) = default;
};

std::vector<Line> Split(const std::string& bytes, std::size_t pieceSize) {
  std::vector<Line> lines;
  LineSplitter splitter([&](const SplitLine& l) { lines.push_back({l.start, std::string(l.text), std::string(l.ending)}); });
  for (std::size_t at = 0; at < bytes.size(); at += pieceSize) splitter.Feed(std::string_view(bytes).substr(at, pieceSize));
  splitter.Finish();
  return lines;
}

TEST(LineSplitter, EndsLinesAtCrLfLfAndLoneCrKeepingExactPositions) {
  struct Case {
    std::string bytes;
    std::vector<Line> lines;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"a", {{0, "a", ""}}},
      {"a\r\nb\nc\rd", {{0, "a", "\r\n"}, {3, "b", "\n"}, {5, "c", "\r"}, {7, "d", ""}}},
      {"\r\n\n\r", {{0, "", "\r\n"}, {2, "", "\n"}, {3, "", "\r"}}},
      {"x\r\r\n", {{0, "x", "\r"}, {2, "", "\r\n"}}},
      {"tail\r", {{0, "tail", "\r"}}},
      {"\n\r\n", {{0, "", "\n"}, {1, "", "\r\n"}}},
  };
  for (const auto& c : cases) {
    // A CR LF split between two pieces must still be one ending.
    for (std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{1000}}) {
      EXPECT_EQ(Split(c.bytes, piece), c.lines) << "piece size " << piece << " for " << testing::PrintToString(c.bytes);
    }
  }
}

TEST(LineSplitter, NumbersLinesFromOne) {
  std::vector<std::uint64_t> numbers;
  LineSplitter splitter([&](const SplitLine& l) { numbers.push_back(l.number); });
  splitter.Feed("a\nb\r\nc");
  splitter.Finish();
  EXPECT_EQ(numbers, (std::vector<std::uint64_t>{1, 2, 3}));
}

}  // namespace
}  // namespace zorv::index
