#include "window/qt/game_list_model.h"

#include "platform/cp1252.h"

namespace zorv {

QString ScreenText(std::string_view cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }

GameListModel::GameListModel(GameTable table, QObject* parent) : QAbstractTableModel(parent), table_(std::move(table)) {}

template <typename Change>
void GameListModel::Reset(Change change) {
  beginResetModel();
  change();
  endResetModel();
}

void GameListModel::Search(const QString& text) {
  Reset([&] { table_.Search(Utf8ToCp1252(text.toStdString())); });
}

void GameListModel::ShowNonGames(bool show) {
  Reset([&] { table_.ShowNonGames(show); });
}

int GameListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.RowCount());
}

int GameListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kGameColumnCount; }

QVariant GameListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || static_cast<std::size_t>(index.row()) >= table_.RowCount()) {
      return {};
  }
  return ScreenText(GameTable::Cell(table_.Row(static_cast<std::size_t>(index.row())),
                                    static_cast<GameColumn>(index.column())));
}

QVariant GameListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kTitles[kGameColumnCount] = {"ROM name", "Title", "Year", "Manufacturer", "Category"};
  return section >= 0 && section < kGameColumnCount ? QString::fromLatin1(kTitles[section]) : QVariant();
}

void GameListModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= kGameColumnCount) return;
  const bool descending = order == Qt::DescendingOrder;
  if (table_.SortColumn() == static_cast<GameColumn>(column) && table_.SortDescending() == descending) return;
  Reset([&] { table_.SortBy(static_cast<GameColumn>(column), descending); });
}

}  // namespace zorv
