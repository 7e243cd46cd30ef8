#pragma once
// The game browser: the collection's games in a list to search and sort, and
// the sheet of the one chosen, shown in the report window over the list.
// Closing the sheet comes back to the list as it was.
#include <QTreeView>
#include <QWidget>
#include <memory>
#include <string>

#include "platform/regional_settings.h"
#include "platform/screen_metrics.h"
#include "startup/shared_state.h"
#include "window/collection_games.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace zorv {

class GameListModel;
class ReportWindow;

// The list, telling when it has been painted.
class GameListView final : public QTreeView {
  Q_OBJECT

 public:
  using QTreeView::QTreeView;

 signals:
  void Painted();

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class GameBrowserWindow final : public QWidget {
  Q_OBJECT

 public:
  // `switches` ("/center /noimage", or empty) follow the ROM name on the
  // command line of every sheet. The window shows at once; its list comes
  // with ShowCollection.
  GameBrowserWindow(std::string programFolder, std::string switches, const ScreenMetrics& screen,
                    const RegionalSettings& regional);
  ~GameBrowserWindow() override;

  GameListView& List() { return *list_; }
  QLineEdit& SearchField() { return *search_; }
  QCheckBox& NonGamesBox() { return *nonGames_; }
  QLabel& Message() { return *message_; }
  QLabel& Status() { return *status_; }
  // The ROM name of the list's current game; empty when there is none.
  std::string CurrentGame() const;
  // The sheet on the screen, or null.
  ReportWindow* Sheet() const { return sheet_; }

  // Lists the collection's games, or tells why there are none. A search
  // typed while the collection was read applies to the list.
  void ShowCollection(CollectionGames collection);

  // Runs start-up for the game as a command line naming it would, and shows
  // its sheet; when start-up stops, the status line tells its log line.
  void ShowSheet(const std::string& romName);

 signals:
  void CollectionShown();
  void SheetClosed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildList(GameTable games);
  void PutCurrentBack();
  void UpdateStatus();
  void ShowCurrentSheet();

  const std::string programFolder_;
  const std::string switches_;
  const ScreenMetrics screen_;
  const RegionalSettings regional_;
  std::string note_;  // what the status line tells besides the counts
  std::string currentGame_;
  QLineEdit* search_;
  QCheckBox* nonGames_;
  GameListView* list_;
  QLabel* message_;
  QLabel* status_;
  GameListModel* model_ = nullptr;
  ReportWindow* sheet_ = nullptr;
  std::unique_ptr<SharedState> sheetState_;
};

}  // namespace zorv
