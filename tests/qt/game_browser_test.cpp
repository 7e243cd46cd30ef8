// The game browser as the user meets it, on Qt's off-screen platform: the
// list searched and sorted, a game's sheet opened and closed again, and the
// messages in the window where there is nothing to list.
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTextBlock>

#include "window/game_table.h"
#include "window/qt/game_browser_window.h"
#include "window_fixture.h"

namespace zorv::testing {
namespace {

class GameBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    collection.Write("datafiles/index",
                     "gng;BGhosts'n Goblins;S;C1;D1;E0;F0;G0;H0;I1;J1;R0;L#;P0;Q0,0;U\r\n"
                     "sf2;BStreet Fighter II;S;C1;D2;E0;F0;G0;H0;I1;J2;R0;L#;P0;Q0,0;U\r\n"
                     "reels;BLucky Reels;S;C2;D2;E0;F0;G0;H0;I2;J3;R0;L#;P0;Q0,0;U\r\n"
                     "[Manufacturer]\r\nCapcom\r\nBally\r\n[Year]\r\n1985\r\n1991\r\n[Orientation]\r\n[Buttons]\r\n"
                     "[Controls]\r\n[Status]\r\n[Genre]\r\nPlatform\r\nElectromechanical\r\n[Category]\r\n"
                     "Platform / Run Jump\r\nFighter / Versus\r\nElectromechanical / Reels\r\n");
  }

  // The window on the screen before its games are read.
  GameBrowserWindow& Start(const std::string& switches = "") {
    browser = std::make_unique<GameBrowserWindow>(collection.Str(), switches,
                                                  ScreenMetrics{1024 * 15, 768 * 15, 15.0f, 15.0f},
                                                  RegionalSettings{false, "C"});
    browser->show();
    return *browser;
  }

  GameBrowserWindow& Open(const std::string& switches = "") {
    Start(switches).ShowCollection(OpenCollection(collection.Str()));
    return *browser;
  }

  static void Type(QWidget& target, const std::string& text) {
    for (const char c : text) PressKey(target, QChar(c).toUpper().unicode(), QString(QChar(c)));
  }

  static int Rows(GameBrowserWindow& window) { return window.List().model()->rowCount(); }

  TempFolder collection;
  std::unique_ptr<GameBrowserWindow> browser;
};

TEST_F(GameBrowserTest, SearchAsYouTypeSortAndTheOtherMachines) {
  GameBrowserWindow& window = Open();
  EXPECT_EQ(Rows(window), 2) << "the reels machine is no game";
  EXPECT_EQ(window.Status().text().toStdString(), "2 of 2 games");
  Type(window.SearchField(), "fighter");
  EXPECT_EQ(Rows(window), 1);
  EXPECT_EQ(window.CurrentGame(), "sf2");
  const QModelIndex title = window.List().model()->index(0, 1);
  EXPECT_EQ(title.data().toString().toStdString(), "Street Fighter II");
  window.SearchField().clear();
  window.NonGamesBox().setChecked(true);
  EXPECT_EQ(window.Status().text().toStdString(), "3 of 3 machines");
  window.List().sortByColumn(static_cast<int>(GameColumn::Year), Qt::DescendingOrder);
  EXPECT_EQ(window.CurrentGame(), "sf2") << "the current game stays current";
  EXPECT_EQ(window.List().model()->index(2, 0).data().toString().toStdString(), "gng");
}

TEST_F(GameBrowserTest, WhatIsTypedWhileTheGamesAreReadHoldsForThem) {
  GameBrowserWindow& window = Start();
  EXPECT_NE(window.Status().text().indexOf(QStringLiteral("Reading")), -1);
  Type(window.SearchField(), "reels");
  window.NonGamesBox().setChecked(true);
  window.ShowCollection(OpenCollection(collection.Str()));
  EXPECT_EQ(Rows(window), 1);
  EXPECT_EQ(window.CurrentGame(), "reels");
  EXPECT_EQ(window.Status().text().toStdString(), "1 of 3 machines");
}

TEST_F(GameBrowserTest, EnterOrADoubleClickShowsTheSheetAndClosingComesBack) {
  GameBrowserWindow& window = Open("/ontop /noimage");
  Type(window.SearchField(), "sf2");
  PressKey(window.SearchField(), Qt::Key_Return);
  ReportWindow* sheet = window.Sheet();
  ASSERT_NE(sheet, nullptr) << window.Status().text().toStdString();
  EXPECT_TRUE(sheet->isVisible());
  EXPECT_TRUE(sheet->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << "the switches of the command line";
  EXPECT_TRUE(sheet->State().NoImage);
  EXPECT_EQ(sheet->State().RomName, "sf2");
  EXPECT_NE(sheet->Report().document()->toPlainText().indexOf(QStringLiteral("Street Fighter II")), -1);
  PressKey(sheet->Report(), Qt::Key_Escape, QStringLiteral("\x1b"));
  ASSERT_TRUE(RunEventsUntil([&] { return window.Sheet() == nullptr; }));
  EXPECT_TRUE(collection.Exists("Zorv.inf")) << "the sheet closes as designed";
  EXPECT_EQ(window.CurrentGame(), "sf2");
  EXPECT_EQ(window.SearchField().text().toStdString(), "sf2");

  window.SearchField().clear();
  QWidget& rows = *window.List().viewport();
  const QPoint gng = window.List().visualRect(window.List().model()->index(0, 0)).center();
  QMouseEvent press(QEvent::MouseButtonPress, gng, rows.mapToGlobal(gng), Qt::LeftButton, Qt::LeftButton, {});
  QCoreApplication::sendEvent(&rows, &press);
  QMouseEvent twice(QEvent::MouseButtonDblClick, gng, rows.mapToGlobal(gng), Qt::LeftButton, Qt::LeftButton, {});
  QCoreApplication::sendEvent(&rows, &twice);
  ASSERT_NE(window.Sheet(), nullptr);
  EXPECT_EQ(window.Sheet()->State().RomName, "gng");
  window.Sheet()->close();
  ASSERT_TRUE(RunEventsUntil([&] { return window.Sheet() == nullptr; }));
  window.ShowSheet("sf2");
  ASSERT_NE(window.Sheet(), nullptr);
  browser.reset();  // the browser goes with its sheet open: both go
}

TEST_F(GameBrowserTest, ASheetThatCannotBeMadeIsToldInTheStatusLine) {
  GameBrowserWindow& window = Open();
  std::filesystem::remove(collection.Path() / "datafiles/index");
  PressKey(window.List(), Qt::Key_Enter);
  EXPECT_EQ(window.Sheet(), nullptr);
  const std::string status = window.Status().text().toStdString();
  EXPECT_NE(status.find("No sheet for gng: Can't find the index. file."), std::string::npos) << status;
  EXPECT_NE(collection.Read("Zorv.Log.txt").find("Can't find the index. file."), std::string::npos);
}

TEST_F(GameBrowserTest, WithoutACollectionTheWindowSaysHowToMakeOne) {
  for (const std::string index : {"-", "[Manufacturer]\r\n", "x;By\r\n"}) {
    std::filesystem::remove(collection.Path() / "datafiles/index");
    if (index != "-") collection.Write("datafiles/index", index);
    GameBrowserWindow& window = Open();
    EXPECT_FALSE(window.List().isVisible());
    EXPECT_FALSE(window.SearchField().isEnabled());
    EXPECT_TRUE(window.Message().isVisible());
    EXPECT_NE(window.Message().text().indexOf(QStringLiteral("zorv-index --mame-ini")), -1) << index;
    PressKey(window, Qt::Key_Return);
    EXPECT_EQ(window.Sheet(), nullptr);
  }
}

}  // namespace
}  // namespace zorv::testing
