#include "browse.h"

#include <QApplication>
#include <QFutureWatcher>
#include <QLabel>
#include <QLineEdit>
#include <QPromise>
#include <QTimer>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "platform/qt/qt_screen_metrics.h"
#include "platform/regional_settings.h"
#include "startup_timing.h"
#include "window/collection_games.h"
#include "window/qt/game_browser_window.h"

namespace zorv {
namespace {

// With ZORV_TIMING=1, tells on standard error when the window was first on
// the screen, when the collection's games (or why there are none) were, and,
// for each key typed into the search, when the list showed its result.
class BrowseTiming final : public QObject {
 public:
  BrowseTiming(GameBrowserWindow& window, std::chrono::steady_clock::time_point started)
      : window_(window), started_(started) {
    window.installEventFilter(this);
    window.SearchField().installEventFilter(this);
    window.Message().installEventFilter(this);
    connect(&window, &GameBrowserWindow::CollectionShown, this, [this] { collectionShown_ = true; });
    connect(&window.List(), &GameListView::Painted, this, [this] {
      if (collectionShown_) TellListShown();
      if (!keyPressed_) return;
      keyPressed_.reset();
      Tell("search filtered", *keyPressed_);
    });
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &window_ && event->type() == QEvent::Paint && !shownTold_) {
      shownTold_ = true;
      // The window's children paint in the same pass, before this runs.
      QTimer::singleShot(0, this, [this] { Tell("window on screen", started_); });
    }
    if (watched == &window_.Message() && event->type() == QEvent::Paint && collectionShown_) TellListShown();
    if (watched == &window_.SearchField() && event->type() == QEvent::KeyPress) {
      keyPressed_ = std::chrono::steady_clock::now();
    }
    return false;
  }

 private:
  void TellListShown() {
    if (listTold_) return;
    listTold_ = true;
    QTimer::singleShot(0, this, [this] { Tell("list on screen", started_); });
  }

  void Tell(const char* what, std::chrono::steady_clock::time_point since) const {
    using namespace std::chrono;
    const double elapsed = duration<double, std::milli>(steady_clock::now() - since).count();
    const double wallClock = duration<double, std::milli>(system_clock::now().time_since_epoch()).count();
    std::fprintf(stderr, "zorv: %s in %.1f ms, at %.1f ms wall clock\n", what, elapsed, wallClock);
  }

  GameBrowserWindow& window_;
  std::chrono::steady_clock::time_point started_;
  bool shownTold_ = false;
  bool collectionShown_ = false;
  bool listTold_ = false;
  std::optional<std::chrono::steady_clock::time_point> keyPressed_;
};

}  // namespace

int RunBrowser(const std::string& collectionFolder, const std::string& switches, char* argv0,
               std::chrono::steady_clock::time_point started) {
  char programName[] = "zorv";
  char* qtArgv[] = {argv0 ? argv0 : programName, nullptr};
  int qtArgc = 1;
  // The collection is read and its list made while the window system starts
  // and the window first shows: each takes about as long as the other.
  QPromise<CollectionGames> read;
  QFuture<CollectionGames> collection = read.future();
  std::jthread reader([&read, collectionFolder] {
    read.start();
    try {
      read.addResult(OpenCollection(collectionFolder));
    } catch (const std::exception& failure) {
      read.addResult(CollectionGames{collectionFolder, std::nullopt, 0,
                                     std::string("The collection cannot be read: ") + failure.what()});
    }
    read.finish();
  });
  QApplication app(qtArgc, qtArgv);
  GameBrowserWindow window(collectionFolder, switches, PrimaryScreenMetrics(), UserRegionalSettings());
  std::optional<BrowseTiming> timing;
  if (StartupTiming::Wanted()) timing.emplace(window, started);
  QFutureWatcher<CollectionGames> watcher;
  QObject::connect(&watcher, &QFutureWatcherBase::finished, &window,
                   [&] { window.ShowCollection(collection.takeResult()); });
  if (collection.isFinished()) {
    // Read before the window first shows: the list is in its first paint.
    window.ShowCollection(collection.takeResult());
  } else {
    watcher.setFuture(collection);
  }
  window.show();
  return QApplication::exec();
}

}  // namespace zorv
