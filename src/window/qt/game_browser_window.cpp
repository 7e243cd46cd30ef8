#include "window/qt/game_browser_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "startup/error_log.h"
#include "startup/startup.h"
#include "window/qt/game_list_model.h"
#include "window/qt/report_window.h"

namespace zorv {
namespace {

bool IsEnter(const QKeyEvent& key) { return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter; }

bool MovesInList(const QKeyEvent& key) {
  switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      return true;
    default:
      return false;
  }
}

// The lines start-up held back, each ended by CR LF.
std::vector<std::string> LinesOf(const std::string& held) {
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = held.find("\r\n", at)) != std::string::npos; at = end + 2) {
    lines.push_back(held.substr(at, end - at));
  }
  return lines;
}

}  // namespace

void GameListView::paintEvent(QPaintEvent* event) {
  QTreeView::paintEvent(event);
  emit Painted();
}

GameBrowserWindow::GameBrowserWindow(std::string programFolder, std::string switches, const ScreenMetrics& screen,
                                     const RegionalSettings& regional)
    : programFolder_(std::move(programFolder)),
      switches_(std::move(switches)),
      screen_(screen),
      regional_(regional),
      note_("Reading the game list\u2026"),
      search_(new QLineEdit(this)),
      nonGames_(new QCheckBox(QStringLiteral("Show machines that are not games"), this)),
      list_(new GameListView(this)),
      message_(new QLabel(this)),
      status_(new QLabel(this)) {
  setObjectName(QStringLiteral("GameBrowser"));
  setWindowTitle(QStringLiteral("Zorvane games"));
  setWindowIcon(QIcon(QStringLiteral(":/zorv/icon.png")));
  search_->setObjectName(QStringLiteral("Search"));
  search_->setPlaceholderText(QStringLiteral("Search ROM names, titles and manufacturers"));
  search_->setClearButtonEnabled(true);
  search_->installEventFilter(this);
  list_->setObjectName(QStringLiteral("Games"));
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->installEventFilter(this);
  message_->setObjectName(QStringLiteral("Message"));
  message_->setWordWrap(true);
  message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  message_->setAlignment(Qt::AlignCenter);
  status_->setObjectName(QStringLiteral("Status"));

  auto* top = new QHBoxLayout;
  top->addWidget(search_, 1);
  top->addWidget(nonGames_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(list_, 1);
  layout->addWidget(message_, 1);
  layout->addWidget(status_);
  resize(1000, 680);
  message_->hide();
  search_->setFocus();
  UpdateStatus();
}

void GameBrowserWindow::ShowCollection(CollectionGames collection) {
  note_ = std::move(collection.Message);
  if (collection.Games) {
    BuildList(std::move(*collection.Games));
  } else {
    // Nothing to search: the window is the message.
    search_->setEnabled(false);
    nonGames_->setEnabled(false);
    list_->hide();
    message_->setText(QString::fromStdString(note_));
    message_->show();
    note_.clear();
  }
  UpdateStatus();
  emit CollectionShown();
}

GameBrowserWindow::~GameBrowserWindow() {
  if (sheet_ == nullptr) return;
  // Its state goes after it, with this window.
  sheet_->disconnect(this);
  delete sheet_;
}

void GameBrowserWindow::BuildList(GameTable games) {
  model_ = new GameListModel(std::move(games), this);
  list_->setModel(model_);
  // Widths from the font, never from the rows: measuring 40,000 rows would
  // cost more than showing them.
  const QFontMetrics letters = list_->fontMetrics();
  for (const auto& [column, sample] : {std::pair{GameColumn::RomName, QString(10, u'm')},
                                       {GameColumn::Title, QString(48, u'n')}, {GameColumn::Year, QString(6, u'8')},
                                       {GameColumn::Manufacturer, QString(24, u'n')}}) {
    list_->setColumnWidth(static_cast<int>(column), letters.horizontalAdvance(sample));
  }
  list_->header()->setSortIndicator(static_cast<int>(GameColumn::Title), Qt::AscendingOrder);
  list_->setSortingEnabled(true);
  connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
    if (current.isValid()) currentGame_ = model_->Table().Row(static_cast<std::size_t>(current.row())).RomName();
  });
  // A search, a sort or the other machines change the rows: the current game
  // stays current where it still shows.
  connect(model_, &QAbstractItemModel::modelReset, this, &GameBrowserWindow::PutCurrentBack);
  connect(search_, &QLineEdit::textChanged, model_, &GameListModel::Search);
  connect(nonGames_, &QCheckBox::toggled, model_, &GameListModel::ShowNonGames);
  connect(list_, &QTreeView::doubleClicked, this, [this] { ShowCurrentSheet(); });
  // What was typed or ticked while the games were read holds for them.
  if (nonGames_->isChecked()) model_->ShowNonGames(true);
  if (!search_->text().isEmpty()) model_->Search(search_->text());
  list_->setCurrentIndex(model_->index(0, 0));
}

void GameBrowserWindow::PutCurrentBack() {
  const auto row = model_->Table().RowOf(currentGame_);
  const QModelIndex shown = model_->index(row ? static_cast<int>(*row) : 0, 0);
  list_->setCurrentIndex(shown);
  if (shown.isValid()) list_->scrollTo(shown, QAbstractItemView::PositionAtCenter);
  UpdateStatus();
}

std::string GameBrowserWindow::CurrentGame() const {
  const QModelIndex current = list_->currentIndex();
  if (model_ == nullptr || !current.isValid()) return {};
  return std::string(model_->Table().Row(static_cast<std::size_t>(current.row())).RomName());
}

void GameBrowserWindow::UpdateStatus() {
  QString text;
  if (model_ != nullptr) {
    const GameTable& table = model_->Table();
    const bool all = table.ShowsNonGames();
    text = QStringLiteral("%1 of %2 %3")
               .arg(table.RowCount())
               .arg(all ? table.MachineCount() : table.GameCount())
               .arg(all ? QStringLiteral("machines") : QStringLiteral("games"));
  }
  if (!note_.empty()) text += (text.isEmpty() ? "" : "  ") + QString::fromStdString(note_);
  status_->setText(text);
}

void GameBrowserWindow::ShowCurrentSheet() {
  const std::string game = CurrentGame();
  if (!game.empty()) ShowSheet(game);
}

void GameBrowserWindow::ShowSheet(const std::string& romName) {
  if (sheet_ != nullptr) return;
  auto state = std::make_unique<SharedState>();
  state->ProgramFolder = programFolder_;
  state->HeldLog.emplace();
  const StartupOutcome outcome = Main(*state, switches_.empty() ? romName : romName + " " + switches_);
  const std::vector<std::string> logged = LinesOf(*state->HeldLog);
  state->HeldLog.reset();
  try {
    for (const std::string& line : logged) WriteLog(*state, line);
  } catch (const std::exception&) {
    // The status line still tells.
  }
  if (outcome != StartupOutcome::GameSheet) {
    note_ = "No sheet for " + romName + (logged.empty() ? "." : ": " + logged.back());
    UpdateStatus();
    return;
  }
  note_.clear();
  UpdateStatus();
  // The window refers to its run's state to its end.
  sheetState_ = std::move(state);
  sheet_ = new ReportWindow(*sheetState_, screen_, regional_);
  sheet_->setAttribute(Qt::WA_DeleteOnClose);
  sheet_->setWindowModality(Qt::ApplicationModal);
  connect(sheet_, &QObject::destroyed, this, [this] {
    sheet_ = nullptr;
    sheetState_.reset();
    activateWindow();
    list_->setFocus();
    emit SheetClosed();
  });
  sheet_->Load();
  sheet_->show();
}

bool GameBrowserWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || model_ == nullptr) return QWidget::eventFilter(watched, event);
  const auto& key = *static_cast<QKeyEvent*>(event);
  if (IsEnter(key)) {
    ShowCurrentSheet();
    return true;
  }
  if (watched == search_ && MovesInList(key)) {
    QKeyEvent copy(key.type(), key.key(), key.modifiers(), key.text());
    QCoreApplication::sendEvent(list_, &copy);
    return true;
  }
  if (watched == search_ && key.key() == Qt::Key_Escape) {
    search_->clear();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace zorv
