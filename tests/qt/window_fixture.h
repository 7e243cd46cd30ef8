#pragma once
// A small game collection in a temporary folder, start-up run on it, and the
// report window made from the result, on Qt's off-screen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>

#include "platform/regional_settings.h"
#include "platform/screen_metrics.h"
#include "startup/shared_state.h"
#include "startup/startup.h"
#include "support/small_collection.h"
#include "support/temp_folder.h"
#include "window/qt/report_picture_source.h"
#include "window/qt/report_view.h"
#include "window/qt/report_window.h"

namespace zorv::testing {

// The test program's main makes the one application.
inline void EnsureApplication() { ASSERT_NE(QCoreApplication::instance(), nullptr); }

// Lets events run until `done` holds or the time is up.
inline bool RunEventsUntil(const std::function<bool()>& done, int milliseconds = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > milliseconds) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

inline void PressKey(QWidget& target, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(&target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(&target, &release);
}

// How many pixels of the image have exactly this colour (0x00BBGGRR).
inline int PixelsOfColour(const QImage& image, Colour colour) {
  const QRgb wanted = qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour));
  const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
  int count = 0;
  for (int y = 0; y < pixels.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
    for (int x = 0; x < pixels.width(); ++x) count += (row[x] & 0xFFFFFF) == (wanted & 0xFFFFFF) ? 1 : 0;
  }
  return count;
}

// Text drawn in `ink` on `background`, whatever the font: smoothing mixes the
// two at a glyph's edges (some fonts with a gamma of their own), and a thin
// font may fill no pixel whole. `amount` is the ink the pixels hold, in whole
// pixels; `strayPixels` are those with a component outside the two colours'
// (text in another colour).
struct Ink {
  double amount = 0;
  int strayPixels = 0;
};

inline Ink InkOf(const QImage& image, Colour ink, Colour background) {
  const int from[3] = {RedOf(background), GreenOf(background), BlueOf(background)};
  const int to[3] = {RedOf(ink), GreenOf(ink), BlueOf(ink)};
  constexpr int kTolerance = 24;
  Ink found;
  const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < pixels.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
    for (int x = 0; x < pixels.width(); ++x) {
      const int at[3] = {qRed(row[x]), qGreen(row[x]), qBlue(row[x])};
      double share = 0;
      int changing = 0;
      bool stray = false;
      for (int c = 0; c < 3; ++c) {
        stray |= at[c] < std::min(from[c], to[c]) - kTolerance || at[c] > std::max(from[c], to[c]) + kTolerance;
        if (from[c] == to[c]) continue;
        share += std::clamp(double(at[c] - from[c]) / (to[c] - from[c]), 0.0, 1.0);
        ++changing;
      }
      found.amount += changing > 0 ? share / changing : 0;
      found.strayPixels += stray ? 1 : 0;
    }
  }
  return found;
}

// An image of one colour in a file format ("PNG", "JPEG", "BMP"), at the best quality.
inline std::string Encoded(int width, int height, QColor colour, const char* format,
                           QImage::Format pixels = QImage::Format_RGB32) {
  QImage image(width, height, pixels);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format, 100);
  return bytes.toStdString();
}

class WindowTest : public ::testing::Test {
 protected:
  // A 1024 x 768 screen at 96 dots per inch.
  static ScreenMetrics TestScreen() { return ScreenMetrics{1024 * 15, 768 * 15, 15.0f, 15.0f}; }

  void SetUp() override {
    EnsureApplication();
    WriteSmallCollection(collection);
  }

  void TearDown() override { window.reset(); }

  // Runs start-up on the command text and loads the window (not shown yet).
  ReportWindow& Open(const std::string& commandText,
                     const ReportWindow::PictureSourceMaker& pictures = MakeReportPictures) {
    state = SharedState{};
    state.ProgramFolder = collection.Str();
    const auto outcome = Main(state, commandText);
    EXPECT_NE(outcome, StartupOutcome::SilentStop) << collection.Read("Zorv.Log.txt");
    window = std::make_unique<ReportWindow>(state, TestScreen(), RegionalSettings{false, "C"}, pictures);
    window->Load();
    return *window;
  }

  // Shows the window and waits for its first activation to end.
  void ShowAndActivate() {
    auto activated = std::make_shared<bool>(false);
    QObject::connect(window.get(), &ReportWindow::Activated, window.get(), [activated] { *activated = true; });
    window->show();
    ASSERT_TRUE(RunEventsUntil([&] { return *activated; }));
  }

  TempFolder collection;
  SharedState state;
  std::unique_ptr<ReportWindow> window;
};

}  // namespace zorv::testing
