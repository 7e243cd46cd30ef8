#include "game_list_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/run_time_error.h"

namespace zorv::index {
namespace {

std::vector<Machine> Read(const std::string& xml, std::size_t pieceSize = 13) {
  std::vector<Machine> machines;
  GameListReader reader([&](Machine&& m) { machines.push_back(std::move(m)); });
  for (std::size_t at = 0; at < xml.size(); at += pieceSize) reader.Feed(std::string_view(xml).substr(at, pieceSize), false);
  reader.Feed({}, true);
  return machines;
}

TEST(GameListReader, ReadsTheCurrentListFormat) {
  const std::string xml = R"(<?xml version="1.0"?>
<!DOCTYPE mame [
<!ELEMENT mame (machine+)>
]>
<mame build="0.251">
	<machine name="gng" sourcefile="capcom/gng.cpp">
		<description>Ghosts&apos;n Goblins &amp; caf&#233;</description>
		<year>1985</year>
		<manufacturer>Capcom</manufacturer>
		<rom name="gg4.bin" size="16384"/>
		<display tag="screen" type="raster" rotate="270"/>
		<display tag="second" type="raster" rotate="0"/>
		<input players="2" coins="2">
			<control type="joy" player="1" buttons="2" ways="8"/>
			<control type="trackball" player="2" buttons="3"/>
		</input>
		<driver status="imperfect" emulation="good" savestate="supported"/>
	</machine>
	<machine name="gnga" sourcefile="capcom/gng.cpp" cloneof="gng" romof="gng">
		<description>Clone</description>
	</machine>
	<machine name="z80" sourcefile="devices/cpu/z80.cpp" isdevice="yes" runnable="no"><description>Z80</description></machine>
	<machine name="neogeo" isbios="yes"><description>BIOS</description></machine>
</mame>
)";
  for (std::size_t piece : {std::size_t{1}, std::size_t{13}, xml.size()}) {
    const auto machines = Read(xml, piece);
    ASSERT_EQ(machines.size(), 4u);
    const Machine& gng = machines[0];
    EXPECT_EQ(gng.name, "gng");
    EXPECT_EQ(gng.sourceFile, "capcom/gng.cpp");
    EXPECT_EQ(gng.description, "Ghosts'n Goblins & caf\xC3\xA9");
    EXPECT_EQ(gng.year, "1985");
    EXPECT_EQ(gng.manufacturer, "Capcom");
    EXPECT_EQ(gng.rotate, 270);
    EXPECT_EQ(gng.players, 2);
    EXPECT_EQ(gng.buttons, 3);
    EXPECT_EQ(gng.controls, (std::vector<MachineControl>{{"joy", "8"}, {"trackball", ""}}));
    EXPECT_EQ(gng.driverStatus, "imperfect");
    EXPECT_EQ(gng.saveState, "supported");
    EXPECT_EQ(gng.lineNumber, 6u);
    EXPECT_TRUE(gng.runnable);
    EXPECT_EQ(machines[1].cloneOf, "gng");
    EXPECT_FALSE(machines[1].rotate.has_value());
    EXPECT_FALSE(machines[1].players.has_value());
    EXPECT_TRUE(machines[2].isDevice);
    EXPECT_FALSE(machines[2].runnable);
    EXPECT_TRUE(machines[3].isBios);
  }
}

TEST(GameListReader, ReadsTheOlderGameElementWithButtonsOnTheInput) {
  const auto machines = Read(
      R"(<mame build="0.160"><game name="pacman" sourcefile="pacman.c"><description>P</description>)"
      R"(<display rotate="90"/><input players="2" buttons="1"><control type="joy4way"/></input></game></mame>)");
  ASSERT_EQ(machines.size(), 1u);
  EXPECT_EQ(machines[0].buttons, 1);
  EXPECT_EQ(machines[0].controls, (std::vector<MachineControl>{{"joy4way", ""}}));
  EXPECT_EQ(machines[0].rotate, 90);
}

std::string FailureOf(const std::string& xml) {
  try {
    Read(xml);
  } catch (const RunTimeError& failure) {
    return failure.what();
  }
  return "no failure";
}

TEST(GameListReader, RefusesWhatIsNotWellFormedXml) {
  EXPECT_EQ(FailureOf("<mame>\n<machine name=\"a\"><description>x</machine></mame>"),
            "game list: not well-formed XML at line 2, column 35: mismatched tag");
  EXPECT_EQ(FailureOf("<mame><machine name=\"a\">"), "game list: not well-formed XML at line 1, column 25: no element found");
  EXPECT_EQ(FailureOf(""), "game list: not well-formed XML at line 1, column 1: no element found");
  EXPECT_EQ(FailureOf("<mame>&bogus;</mame>"), "game list: not well-formed XML at line 1, column 7: undefined entity");
}

TEST(GameListReader, AFailureInTheHandlerStopsTheReadingAndComesOut) {
  GameListReader reader([](Machine&&) { throw RunTimeError(ErrorCode::InvalidArgument, "stop"); });
  EXPECT_THROW(reader.Feed("<mame><machine name=\"a\"/><machine name=\"b\"/></mame>", true), RunTimeError);
}

}  // namespace
}  // namespace zorv::index
