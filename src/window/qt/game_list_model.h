#pragma once
// The game table as Qt's views see it: one row per game shown, five columns.
// Searching, showing other machines and sorting are the table's; this class
// tells the views that the rows changed (all of them: the browser puts the
// current game back).
#include <QAbstractTableModel>
#include <string_view>

#include "window/game_table.h"

namespace zorv {

class GameListModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit GameListModel(GameTable table, QObject* parent = nullptr);

  const GameTable& Table() const { return table_; }
  void Search(const QString& text);
  void ShowNonGames(bool show);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void sort(int column, Qt::SortOrder order) override;

 private:
  template <typename Change>
  void Reset(Change change);

  GameTable table_;
};

// Windows-1252 text for the screen.
QString ScreenText(std::string_view cp1252);

}  // namespace zorv
