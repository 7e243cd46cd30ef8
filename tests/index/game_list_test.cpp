// A number in the game list counts only when the whole attribute is one: a
// value with more after its digits, or past the largest number, counts as none.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "game_list_reader.h"

namespace zorv::index {
namespace {

TEST(GameList, TakesANumberOnlyWhenTheWholeValueIsOne) {
  const std::pair<std::string, std::optional<int>> rows[] = {
      {"2", 2}, {"12", 12}, {"2x", std::nullopt}, {"x2", std::nullopt}, {"", std::nullopt},
      {"2 ", std::nullopt}, {"99999999999", std::nullopt}};
  for (const auto& [value, players] : rows) {
    std::optional<int> read = -1;
    GameListReader reader([&](Machine&& machine) { read = machine.players; });
    reader.Feed("<mame><machine name=\"gng\"><input players=\"" + value + "\"/></machine></mame>", true);
    EXPECT_EQ(read, players) << '"' << value << '"';
  }
}

}  // namespace
}  // namespace zorv::index
