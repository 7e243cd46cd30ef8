#include "record_writer.h"

#include <gtest/gtest.h>

#include "platform/run_time_error.h"

namespace zorv::index {
namespace {

TEST(RecordWriter, ValuesAreCleanedOfWhatWouldEndAFieldALineOrAList) {
  const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
      // value, as a field, as a list line
      {"Plain", "Plain", "Plain"},
      {"a;b", "a,b", "a,b"},
      {"line\r\nbreak\x01", "line  break ", "line  break "},
      {"tab\tkept", "tab\tkept", "tab\tkept"},
      {"[Bootleg]", "[Bootleg]", "(Bootleg]"},
      {"[", "[", "("},
      {"x[y]", "x[y]", "x[y]"},
  };
  for (const auto& [value, field, list] : cases) {
    EXPECT_EQ(CleanTextValue(value), field);
    EXPECT_EQ(CleanListValue(value), list);
  }
}

TEST(RecordWriter, WritesRecordsThenThirteenListsDeDuplicated) {
  IndexWriter writer;
  GameValues gng;
  gng.romName = "gng";
  gng.title = "Ghosts;Goblins";
  gng.manufacturer = "Capcom";
  gng.year = "1985";
  gng.saveState = "Supported";
  gng.isMature = true;
  gng.history = DataReference{100, 20};
  gng.mameinfo = DataReference{5, 6};
  gng.romAvailable = true;
  writer.AddGame(gng);
  GameValues clone;
  clone.romName = "gnga";
  clone.cloneOf = "gng";
  clone.manufacturer = "[Bootleg]";
  clone.year = "1985";
  clone.romAvailable = true;
  writer.AddGame(clone);
  GameValues bare;
  bare.romName = "bare";
  bare.manufacturer = "Capcom";
  writer.AddGame(bare);
  EXPECT_EQ(writer.GameCount(), 3u);
  EXPECT_EQ(writer.Finish(),
            "gng;BGhosts,Goblins;S;C1;D1;E0;F0;G0;H0;I0;J0;K0;M0;N0;O0;V1;R0;L1;P0;Q100,20;U5,6*\r\n"
            "gnga;B;Sgng;C2;D1;E0;F0;G0;H0;I0;J0;K0;M0;N0;O0;V0;R0;L#;P0;Q0,0;U*\r\n"
            "bare;B;S;C1;D0;E0;F0;G0;H0;I0;J0;K0;M0;N0;O0;V0;R0;L#;P0;Q0,0;U\r\n"
            "[Manufacturer]\r\nCapcom\r\n(Bootleg]\r\n[Year]\r\n1985\r\n[Orientation]\r\n[Buttons]\r\n[Controls]\r\n"
            "[DriverStatus]\r\n[Genre]\r\n[Category]\r\n[VersionAdded]\r\n[SourceFamily]\r\n[Driver]\r\n[Players]\r\n"
            "[SaveState]\r\nSupported\r\n");
}

TEST(RecordWriter, RefusesRomNamesTheViewerCouldNotFind) {
  for (const std::string name : {"", "a;b", "a\r", "a\nb"}) {
    IndexWriter writer;
    GameValues game;
    game.romName = name;
    EXPECT_THROW(writer.AddGame(game), RunTimeError) << name;
  }
  IndexWriter writer;
  GameValues game;
  game.romName = "twice";
  writer.AddGame(game);
  try {
    writer.AddGame(game);
    FAIL();
  } catch (const RunTimeError& failure) {
    EXPECT_STREQ(failure.what(), "the ROM name \"twice\" comes twice in the game list");
  }
}

TEST(ListTable, NumbersValuesFromOneInTheOrderFirstMet) {
  ListTable list;
  EXPECT_EQ(list.NumberOf("b"), 1u);
  EXPECT_EQ(list.NumberOf(""), 0u);
  EXPECT_EQ(list.NumberOf("a"), 2u);
  EXPECT_EQ(list.NumberOf("b"), 1u);
  EXPECT_EQ(list.Values(), (std::vector<std::string>{"b", "a"}));
}

}  // namespace
}  // namespace zorv::index
