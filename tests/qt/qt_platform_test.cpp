// The platform facilities the window adapts: screen metrics from Qt's screen.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "window/qt/screen_metrics_qt.h"
#include "window_fixture.h"

namespace zorv {
namespace {

TEST(ScreenMetricsTest, TwipsPerPixelFollowTheLogicalResolution) {
  testing::EnsureApplication();
  const QScreen& screen = *QGuiApplication::primaryScreen();
  const ScreenMetrics metrics = ScreenMetricsOf(screen);
  EXPECT_FLOAT_EQ(metrics.TwipsPerPixelX, static_cast<float>(1440.0 / screen.logicalDotsPerInchX()));
  EXPECT_NEAR(metrics.WidthPixels(), screen.geometry().width(), 0.5);
  EXPECT_NEAR(metrics.HeightPixels(), screen.geometry().height(), 0.5);
}

TEST(ScreenMetricsTest, TwipsBecomeWholePixels) {
  EXPECT_EQ(TwipsToPixels(100.0, 15.0f), 7);
  EXPECT_EQ(TwipsToPixels(7935.0, 15.0f), 529);
  EXPECT_EQ(TwipsToPixels(-100.0, 15.0f), 0);
  EXPECT_EQ(TwipsToPixels(1e300, 15.0f), 1 << 24);
  EXPECT_EQ(TwipsToPixels(100.0, 0.0f), 0);
  EXPECT_EQ(TwipsRectToPixels(-150, 150, 1500, 3000, ScreenMetrics{}), QRect(-10, 10, 100, 200));
}

}  // namespace
}  // namespace zorv
