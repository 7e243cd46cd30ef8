#include "window/game_table.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "platform/ascii_case.h"

namespace zorv {
namespace {

// Each Windows-1252 byte in lower case without its accent.
constexpr char kFoldedBytes[] =
    "\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1a"
    "\x1b\x1c\x1d\x1e\x1f !\"#$%&'()*+,-./0123456789:;<=>?@abcdefghijklmnopqrstuvwxyz[\\]^_`abcdefghijklmnopqrstuvwxyz"
    "{|}~\x7f\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89s\x8b\x8c\x8dz\x8f\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99s\x9b"
    "\x9c\x9dzy\xa0\xa1\xa2\xa3\xa4\xa5\xa6\xa7\xa8\xa9\xaa\xab\xac\xad\xae\xaf\xb0\xb1\xb2\xb3\xb4\xb5\xb6\xb7\xb8"
    "\xb9\xba\xbb\xbc\xbd\xbe\xbf" "aaaaaa\xc6" "ceeeeiiiidnooooo\xd7ouuuuy\xfe\xdf" "aaaaaa\xe6" "ceeeeiiiidnooooo\xf7ouuuuy"
    "\xfey";

// Each Windows-1252 byte as searches see it: letters in lower case, accented
// letters as their plain ones, ligatures spelled out.
constexpr std::array<std::string_view, 256> kFolded = [] {
  std::array<std::string_view, 256> folded{};
  constexpr std::string_view kBytes(kFoldedBytes, sizeof kFoldedBytes - 1);
  static_assert(kBytes.size() == 256);
  for (std::size_t i = 0; i < 256; ++i) folded[i] = kBytes.substr(i, 1);
  folded[0x8C] = folded[0x9C] = "oe";
  folded[0xC6] = folded[0xE6] = "ae";
  folded[0xDF] = "ss";
  return folded;
}();

// Appends `text` folded; a byte folds to one letter but for the ligatures.
void AppendFolded(std::string& folded, std::string_view text) {
  for (const char c : text) {
    const std::string_view letters = kFolded[static_cast<unsigned char>(c)];
    if (letters.size() == 1) {
      folded.push_back(letters.front());
    } else {
      folded.append(letters);
    }
  }
}

}  // namespace

std::string FoldedForSearch(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  AppendFolded(folded, text);
  return folded;
}

bool IsNotAGame(const GameListEntry& game) {
  if (game.Mechanical()) return true;
  if (EqualIgnoringCase(game.Genre(), "Electromechanical") || EqualIgnoringCase(game.Genre(), "Mechanical")) return true;
  std::string_view category = game.Category();
  // The category's parts, as in "System / BIOS".
  for (std::size_t part = 0;; ++part) {
    const std::size_t slash = category.find(" / ");
    const std::string_view name = category.substr(0, slash);
    if (part == 0 && (EqualIgnoringCase(name, "Electromechanical") || EqualIgnoringCase(name, "Mechanical"))) return true;
    if (EqualIgnoringCase(name, "BIOS") || EqualIgnoringCase(name, "Device")) return true;
    if (slash == std::string_view::npos) return false;
    category.remove_prefix(slash + 3);
  }
}

std::string_view GameTable::Cell(const GameListEntry& game, GameColumn column) {
  switch (column) {
    case GameColumn::RomName:
      return game.RomName();
    case GameColumn::Title:
      return game.Title();
    case GameColumn::Year:
      return game.Year();
    case GameColumn::Manufacturer:
      return game.Manufacturer();
    case GameColumn::Category:
      break;
  }
  return game.Category();
}

GameTable::GameTable(std::vector<GameListEntry> games) : games_(std::move(games)) {
  notAGame_.reserve(games_.size());
  searchedEnds_.reserve(games_.size());
  std::size_t size = 0;
  for (const GameListEntry& game : games_) size += game.RomName().size() + game.Title().size() + game.Manufacturer().size() + 3;
  searched_.reserve(size);
  for (const GameListEntry& game : games_) {
    notAGame_.push_back(IsNotAGame(game));
    gameCount_ += notAGame_.back() ? 0 : 1;
    for (const std::string_view line : {game.RomName(), game.Title(), game.Manufacturer()}) {
      AppendFolded(searched_, line);
      searched_.push_back('\r');
    }
    searchedEnds_.push_back(searched_.size());
  }
  order_.resize(games_.size());
  std::iota(order_.begin(), order_.end(), 0u);
  SortBy(GameColumn::Title, false);
}

std::optional<std::size_t> GameTable::RowOf(std::string_view romName) const {
  const auto found = std::find_if(rows_.begin(), rows_.end(), [&](std::uint32_t i) { return games_[i].RomName() == romName; });
  if (found == rows_.end()) return std::nullopt;
  return static_cast<std::size_t>(found - rows_.begin());
}

void GameTable::Search(std::string_view text) {
  const std::string folded = FoldedForSearch(text);
  searchWords_.clear();
  std::size_t at = 0;
  while ((at = folded.find_first_not_of(" \t", at)) != std::string::npos) {
    const std::size_t end = std::min(folded.find_first_of(" \t", at), folded.size());
    searchWords_.push_back(folded.substr(at, end - at));
    at = end;
  }
  Filter();
}

void GameTable::ShowNonGames(bool show) {
  showNonGames_ = show;
  Filter();
}

void GameTable::SortBy(GameColumn column, bool descending) {
  sortColumn_ = column;
  descending_ = descending;
  // The title and the manufacturer are already folded, as lines of what a
  // search looks through; the other columns are folded here.
  std::vector<std::string> folded;
  std::vector<std::string_view> keys;
  keys.reserve(games_.size());
  if (column == GameColumn::Year || column == GameColumn::Category) {
    folded.reserve(games_.size());
    for (const GameListEntry& game : games_) keys.push_back(folded.emplace_back(FoldedForSearch(Cell(game, column))));
  } else {
    const int line = column == GameColumn::RomName ? 0 : column == GameColumn::Title ? 1 : 2;
    for (std::size_t i = 0; i < games_.size(); ++i) {
      if (line == 0) {
        keys.push_back(games_[i].RomName());
        continue;
      }
      std::string_view lines = Searched(i);
      for (int skip = 0; skip < line; ++skip) lines.remove_prefix(lines.find('\r') + 1);
      keys.push_back(lines.substr(0, lines.find('\r')));
    }
  }
  std::sort(order_.begin(), order_.end(), [&](std::uint32_t a, std::uint32_t b) {
    if (keys[a].empty() != keys[b].empty()) return keys[b].empty();
    if (keys[a] != keys[b]) return descending ? keys[b] < keys[a] : keys[a] < keys[b];
    return games_[a].RomName() != games_[b].RomName() ? games_[a].RomName() < games_[b].RomName() : a < b;
  });
  Filter();
}

std::string_view GameTable::Searched(std::size_t game) const {
  const std::size_t begin = game == 0 ? 0 : searchedEnds_[game - 1];
  return std::string_view(searched_).substr(begin, searchedEnds_[game] - begin);
}

void GameTable::Filter() {
  rows_.clear();
  for (const std::uint32_t i : order_) {
    if (notAGame_[i] && !showNonGames_) continue;
    const std::string_view searched = Searched(i);
    if (std::all_of(searchWords_.begin(), searchWords_.end(),
                    [&](const std::string& word) { return searched.find(word) != std::string_view::npos; })) {
      rows_.push_back(i);
    }
  }
}

}  // namespace zorv
