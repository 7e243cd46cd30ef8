#include "field_mapping.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorv::index {
namespace {

TEST(FieldMapping, OnlyRunnableMachinesThatAreNeitherDevicesNorBiosAreGames) {
  Machine game;
  EXPECT_TRUE(IsGame(game));
  Machine device;
  device.isDevice = true;
  Machine bios;
  bios.isBios = true;
  Machine part;
  part.runnable = false;
  for (const Machine* m : {&device, &bios, &part}) EXPECT_FALSE(IsGame(*m));
}

TEST(FieldMapping, OrientationComesFromTheFirstDisplaysRotation) {
  const std::vector<std::pair<std::optional<int>, std::string>> cases = {
      {std::nullopt, ""}, {0, "Horizontal"}, {90, "Vertical"}, {180, "Horizontal"}, {270, "Vertical"}};
  for (const auto& [rotate, expected] : cases) {
    Machine m;
    m.rotate = rotate;
    EXPECT_EQ(OrientationOf(m), expected);
  }
}

TEST(FieldMapping, ControlsAreNamedOnceEachInTheOrderMet) {
  const std::vector<std::pair<std::vector<MachineControl>, std::string>> cases = {
      {{}, ""},
      {{{"joy", "8"}, {"joy", "8"}}, "Joystick 8-way"},
      {{{"joy", "4"}, {"trackball", ""}, {"joy", "4"}}, "Joystick 4-way / Trackball"},
      {{{"joy", "vertical2"}}, "Joystick vertical 2-way"},
      {{{"joy8way", ""}, {"vjoy2way", ""}, {"doublejoy4way", ""}}, "Joystick 8-way / Joystick vertical 2-way / Double joystick 4-way"},
      {{{"stick", ""}, {"pedal", ""}, {"lightgun", ""}}, "Analog stick / Pedal / Lightgun"},
      {{{"newkind", ""}, {"joy", "5 (half8)"}}, "Newkind / Joystick 5 (half8)"},
  };
  for (const auto& [controls, expected] : cases) EXPECT_EQ(ControlsOf(controls), expected);
}

struct MappingTest : ::testing::Test {
  DataFileIndex history;
  DataFileIndex mameinfo;
  IniSection categories{{"gng", "Platform / Run Jump"}, {"nude", "Puzzle / Match * Mature *"}, {"flat", "Quiz"}};
  IniSection versions{{"gng", "0.37b5"}};
  IniSection players{{"gng", "2P alt"}};
  CollectionData collection{&history, &mameinfo, &categories, &versions, &players, nullptr};

  Machine Make(const std::string& name) {
    Machine m;
    m.name = name;
    m.description = "Title caf\xC3\xA9 \xE6\x9D\xB1";
    m.sourceFile = "capcom/gng.cpp";
    return m;
  }
};

TEST_F(MappingTest, CatverGivesGenreCategoryVersionAndMaturity) {
  const GameValues gng = MapGame(Make("gng"), collection);
  EXPECT_EQ(gng.genre, "Platform");
  EXPECT_EQ(gng.category, "Platform / Run Jump");
  EXPECT_EQ(gng.versionAdded, "0.37b5");
  EXPECT_FALSE(gng.isMature);
  const GameValues nude = MapGame(Make("nude"), collection);
  EXPECT_EQ(nude.genre, "Puzzle");
  EXPECT_EQ(nude.category, "Puzzle / Match");
  EXPECT_TRUE(nude.isMature);
  EXPECT_EQ(MapGame(Make("flat"), collection).genre, "Quiz");
  EXPECT_EQ(MapGame(Make("none"), collection).category, "");
}

TEST_F(MappingTest, TextsBecomeWindows1252AndTheSourceFileGivesDriverAndFamily) {
  Machine old = Make("gng");
  old.sourceFile = "gng.c";
  const GameValues now = MapGame(Make("gng"), collection);
  EXPECT_EQ(now.title, "Title caf\xE9 ?");
  EXPECT_EQ(now.driver, "gng.cpp");
  EXPECT_EQ(now.sourceFamily, "capcom");
  EXPECT_EQ(MapGame(old, collection).driver, "gng.c");
  EXPECT_EQ(MapGame(old, collection).sourceFamily, "gng");
}

TEST_F(MappingTest, PlayersAndButtonsFallBackOnTheGameList) {
  Machine m = Make("other");
  EXPECT_EQ(MapGame(m, collection).players, "");
  EXPECT_EQ(MapGame(m, collection).buttons, "");
  m.players = 3;
  EXPECT_EQ(MapGame(m, collection).players, "3P");
  EXPECT_EQ(MapGame(m, collection).buttons, "0");
  m.buttons = 6;
  EXPECT_EQ(MapGame(m, collection).buttons, "6");
  m.name = "gng";
  EXPECT_EQ(MapGame(m, collection).players, "2P alt");
}

TEST_F(MappingTest, ACloneWithoutEntriesOfItsOwnGetsItsParents) {
  history.references = {{"gng", {10, 20}}, {"gngt", {40, 5}}};
  mameinfo.references = {{"gng", {7, 8}}};
  Machine clone = Make("gnga");
  clone.cloneOf = "gng";
  EXPECT_EQ(MapGame(clone, collection).history, (DataReference{10, 20}));
  EXPECT_EQ(MapGame(clone, collection).mameinfo, (DataReference{7, 8}));
  clone.name = "gngt";
  EXPECT_EQ(MapGame(clone, collection).history, (DataReference{40, 5}));
  EXPECT_FALSE(MapGame(Make("alone"), collection).history.has_value());
}

}  // namespace
}  // namespace zorv::index
