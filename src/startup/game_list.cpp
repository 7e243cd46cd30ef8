#include "startup/game_list.h"

#include <algorithm>
#include <thread>

#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "startup/game_index.h"
#include "startup/index_in_memory.h"
#include "startup/shared_state.h"

namespace zorv {
namespace {

// Reads the records [first, last) of the index into their places in `games`,
// each apart from the others; a record the sheet cannot read leaves its place
// unread.
void ReadRecords(const IndexInMemory& index, std::size_t first, std::size_t last, std::vector<GameListEntry>& games,
                 std::vector<char>& read) {
  SharedState game;
  // A list field that cannot be read is an empty value here; its log line
  // belongs to a run that shows the sheet.
  game.HeldLog.emplace();
  for (std::size_t i = first; i < last; ++i) {
    game.GameRecord = index.GameRecords()[i];
    game.HeldLog->clear();
    try {
      ReadGameFields(*index.Lists(), game);
    } catch (const std::exception&) {
      continue;
    }
    games[i] = ListEntryOf(index.RomNames()[i], game);
    read[i] = 1;
  }
}

}  // namespace

GameListEntry::GameListEntry(const GameListValues& values) : mechanical_(values.Mechanical) {
  const std::string_view texts[kFields] = {values.RomName,      values.Title, values.CloneOf, values.Manufacturer,
                                           values.Year,         values.Genre, values.Category};
  std::size_t size = 0;
  for (const std::string_view text : texts) size += text.size();
  // Beyond 4 GiB a text could not be told where it ends; no index is that large.
  if (size > UINT32_MAX) throw RunTimeError(ErrorCode::OutOfMemory);
  texts_.reserve(size);
  for (int field = 0; field < kFields; ++field) {
    texts_ += texts[field];
    ends_[field] = static_cast<std::uint32_t>(texts_.size());
  }
}

std::string_view GameListEntry::Text(Field field) const {
  const std::uint32_t begin = field == 0 ? 0 : ends_[field - 1];
  return std::string_view(texts_).substr(begin, ends_[field] - begin);
}

GameListEntry ListEntryOf(std::string_view romName, const SharedState& game) {
  return GameListEntry({.RomName = romName,
                        .Title = game.GameTitle,
                        .CloneOf = game.CloneOf,
                        .Manufacturer = game.Manufacturer,
                        .Year = game.Year,
                        .Genre = game.Genre,
                        .Category = game.Category,
                        .Mechanical = MarkedMechanical(game.GameRecord)});
}

bool MarkedMechanical(std::string_view record) {
  // The first ";W" is the field, as for every letter.
  const std::size_t field = record.find(kMechanicalField.substr(0, 2));
  return field != std::string_view::npos && record.substr(field).starts_with(kMechanicalField);
}

GameList ReadGameList(std::string_view indexPath) {
  if (FileLength(indexPath) > kLargestGameIndex) throw RunTimeError(ErrorCode::OutOfMemory);
  const IndexInMemory index(ReadWholeFile(indexPath));
  const std::size_t count = index.GameRecords().size();
  GameList list;
  list.Games.resize(count);
  std::vector<char> read(count, 0);
  // The records are read apart from one another, so the processor's cores
  // share them: a whole game list is on the screen the sooner.
  const std::size_t parts = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
  const std::size_t share = std::max<std::size_t>((count + parts - 1) / parts, 1);
  {
    std::vector<std::jthread> helpers;
    for (std::size_t first = share; first < count; first += share) {
      helpers.emplace_back([&, first] { ReadRecords(index, first, std::min(count, first + share), list.Games, read); });
    }
    ReadRecords(index, 0, std::min(count, share), list.Games, read);
  }
  // The places of unreadable records close up, the others keep their order.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (!read[i]) continue;
    if (kept != i) list.Games[kept] = std::move(list.Games[i]);
    ++kept;
  }
  list.UnreadableRecords = count - kept;
  list.Games.resize(kept);
  return list;
}

}  // namespace zorv
