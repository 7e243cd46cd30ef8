#include "startup/game_list.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>
#include <thread>

#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "startup/game_index.h"
#include "startup/index_lists_in_memory.h"
#include "startup/shared_state.h"

namespace zorv {
namespace {

// A stretch of the index's record lines, read apart from the others.
struct RecordStretch {
  std::uint64_t begin = 0;  // where its first line starts in the file
  std::uint64_t end = 0;    // where the line after its last one starts
  std::size_t firstLine = 0;
};

// The index as one pass over its lines finds it: its records cut into
// stretches of about equal size, and where its lists start.
struct IndexLayout {
  std::vector<RecordStretch> stretches;
  std::size_t recordLines = 0;
  std::optional<std::uint64_t> listsBegin;  // the line after the lists' header
};

IndexLayout FindLayout(const std::shared_ptr<const ReadOnlyFile>& file, std::size_t stretches) {
  IndexLayout layout;
  layout.stretches.push_back({});
  const std::uint64_t share = std::max<std::uint64_t>(file->Size() / stretches, 1);
  TextFileReader lines(file, 0, file->Size());
  std::uint64_t recordsEnd = lines.Position();
  for (std::string line; lines.ReadLine(line); recordsEnd = lines.Position()) {
    if (line == kListsHeader) {
      layout.listsBegin = lines.Position();
      break;
    }
    ++layout.recordLines;
    if (layout.stretches.size() < stretches && lines.Position() >= share * layout.stretches.size()) {
      layout.stretches.back().end = lines.Position();
      layout.stretches.push_back({lines.Position(), 0, layout.recordLines});
    }
  }
  layout.stretches.back().end = recordsEnd;
  return layout;
}

// What became of one line among the records.
enum class LineRead : char { NotARecord, Unreadable, Read };

// Reads the record lines of `stretch` into their places in `games`, each apart
// from the others; a record the sheet cannot read keeps only its ROM name.
void ReadRecords(std::shared_ptr<const ReadOnlyFile> file, const RecordStretch& stretch,
                 const IndexListsInMemory& lists, std::vector<GameListEntry>& games, std::vector<LineRead>& read) {
  TextFileReader lines(std::move(file), stretch.begin, stretch.end);
  SharedState game;
  // A list field that cannot be read is an empty value here; its log line
  // belongs to a run that shows the sheet.
  game.HeldLog.emplace();
  for (std::size_t i = stretch.firstLine; lines.ReadLine(game.GameRecord); ++i) {
    const std::size_t semicolon = game.GameRecord.find(';');
    // A line without a ROM name is no game's record.
    if (semicolon == std::string::npos || semicolon == 0) continue;
    const std::string_view romName = std::string_view(game.GameRecord).substr(0, semicolon);
    game.HeldLog->clear();
    try {
      ReadGameFields(*lists.Lists(), game);
    } catch (const std::exception&) {
      games[i] = GameListEntry({.RomName = romName});
      read[i] = LineRead::Unreadable;
      continue;
    }
    games[i] = ListEntryOf(romName, game);
    read[i] = LineRead::Read;
  }
}

// The first record of a ROM name is its game's, readable or not: the later
// ones become no records. Sorted by name, a list of line numbers takes a
// fraction of the memory of a set of forty thousand names.
void KeepFirstRecordOfEachName(const std::vector<GameListEntry>& games, std::vector<LineRead>& read) {
  std::vector<std::uint32_t> records;
  records.reserve(games.size());
  for (std::size_t i = 0; i < games.size(); ++i) {
    if (read[i] != LineRead::NotARecord) records.push_back(static_cast<std::uint32_t>(i));
  }
  std::sort(records.begin(), records.end(), [&](std::uint32_t a, std::uint32_t b) {
    const int order = games[a].RomName().compare(games[b].RomName());
    return order != 0 ? order < 0 : a < b;
  });
  for (std::size_t i = 1; i < records.size(); ++i) {
    if (games[records[i]].RomName() == games[records[i - 1]].RomName()) read[records[i]] = LineRead::NotARecord;
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
  const auto file = std::make_shared<const ReadOnlyFile>(indexPath);
  if (file->Size() > kLargestGameIndex) throw RunTimeError(ErrorCode::OutOfMemory);
  // The records are read a piece at a time, never the whole file at once, and
  // the processor's cores share them: a whole game list is on the screen the
  // sooner.
  const std::size_t parts = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, 8);
  const IndexLayout layout = FindLayout(file, parts);
  std::string listsText;
  IndexListsInMemory lists;
  if (layout.listsBegin) {
    listsText.resize(static_cast<std::size_t>(file->Size() - *layout.listsBegin));
    listsText.resize(file->ReadAt(*layout.listsBegin, listsText));
    lists = IndexListsInMemory(SplitTextLines(listsText));
  }
  const std::size_t count = layout.recordLines;
  std::vector<GameListEntry> games(count);
  std::vector<LineRead> read(count, LineRead::NotARecord);
  {
    std::vector<std::jthread> helpers;
    for (std::size_t part = 1; part < layout.stretches.size(); ++part) {
      helpers.emplace_back([&, part] { ReadRecords(file, layout.stretches[part], lists, games, read); });
    }
    ReadRecords(file, layout.stretches.front(), lists, games, read);
  }
  KeepFirstRecordOfEachName(games, read);
  GameList list;
  list.Games = std::move(games);
  std::size_t kept = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (read[i] == LineRead::Unreadable) ++list.UnreadableRecords;
    if (read[i] != LineRead::Read) continue;
    if (kept != i) list.Games[kept] = std::move(list.Games[i]);
    ++kept;
  }
  list.Games.resize(kept);
  return list;
}

}  // namespace zorv
