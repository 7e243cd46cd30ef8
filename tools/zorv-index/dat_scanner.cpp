#include "dat_scanner.h"

#include <algorithm>

#include "data_entry_cut.h"
#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "startup/basic_text.h"

namespace zorv::index {
namespace {

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> SplitNames(std::string_view list) {
  std::vector<std::string_view> names;
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string_view name = TrimBlanksAndTabs(list.substr(0, comma));
    if (!name.empty()) names.push_back(name);
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return names;
}

struct Stretch {
  std::size_t begin = 0;
  std::size_t end = 0;
};

constexpr std::string_view kInfo = "$info=";
constexpr std::string_view kEnd = "$end";

}  // namespace

DatScanner::DatScanner(DataFileKind kind, std::string fileName, std::uint64_t addressLimit)
    : kind_(kind),
      fileName_(std::move(fileName)),
      addressLimit_(addressLimit),
      splitter_([this](const SplitLine& line) { OnLine(line); }) {}

void DatScanner::Feed(std::string_view bytes) { splitter_.Feed(bytes); }

DataFileIndex DatScanner::Finish() {
  splitter_.Finish();
  if (entry_) PassOverUnended();
  return std::move(result_);
}

void DatScanner::PassOverUnended() {
  result_.unendedEntries.push_back("line " + std::to_string(entry_->lineNumber) + " (" + std::string(kInfo) +
                                   entry_->names + ")");
  entry_.reset();
}

void DatScanner::OnLine(const SplitLine& line) {
  const bool opensEntry = line.text.starts_with(kInfo);
  if (opensEntry) skippingToNextEntry_ = false;
  if (skippingToNextEntry_) return;
  if (entry_ && opensEntry) PassOverUnended();
  if (!entry_) {
    if (!opensEntry) return;  // comments and blank lines between entries
    entry_ = OpenEntry{};
    entry_->start = line.start;
    entry_->lineNumber = line.number;
    entry_->names = line.text.substr(kInfo.size());
  }
  OpenEntry& entry = *entry_;
  const std::size_t lineStart = entry.bytes.size();
  if (lineStart + line.text.size() + line.ending.size() > kLongestEntry) {
    PassOverUnended();
    skippingToNextEntry_ = true;
    return;
  }
  entry.bytes.append(line.text).append(line.ending);
  const std::string_view marker = kind_ == DataFileKind::History ? "$bio" : "$mame";
  const std::string_view text = TrimRight(line.text);
  if (lineStart > 0 && text == kEnd) {
    CloseEntry(lineStart);
    entry_.reset();
    return;
  }
  if (!entry.markerStart && text == marker) {
    entry.markerStart = lineStart;
    entry.markerLength = line.text.size() + line.ending.size();
    entry.markerEnding = line.ending;
  }
  entry.lastEndingLength = line.ending.size();
}

// The entry's text runs from the line after the marker to the line ending
// before "$end". The viewer drops "$bio"/"$mame" with the two bytes after it
// and cuts two bytes before "$end", which is exact only for CR LF, and a marker
// word inside the text misleads it; so candidate stretches are tried, each
// through the viewer's own cut, and the first one that gives the text back wins.
void DatScanner::CloseEntry(std::size_t endLineStart) {
  const OpenEntry& entry = *entry_;
  ++result_.entryCount;
  if (!entry.markerStart) return;  // not a game entry (mameinfo's "$drv" driver notes, for one)
  const std::size_t markerStart = *entry.markerStart;
  const std::size_t bodyStart = markerStart + entry.markerLength;
  const std::size_t bodyEnd = std::max(bodyStart, endLineStart - entry.lastEndingLength);
  const std::size_t throughEnd = endLineStart + kEnd.size();
  const std::string_view bytes = entry.bytes;
  const std::string_view body = bytes.substr(bodyStart, bodyEnd - bodyStart);
  if (body.empty()) return;  // nothing to show: the game gets no reference

  std::string expected(body);
  std::vector<Stretch> candidates;
  if (kind_ == DataFileKind::History) {
    candidates = {{bodyStart, bodyEnd}, {markerStart, bodyEnd}, {bodyStart, throughEnd}, {markerStart, throughEnd}};
  } else if (entry.markerEnding == "\r\n") {
    // The viewer shows the first line as "MAME v" + version only when "$mame" is read.
    expected = "MAME v" + expected;
    candidates = {{markerStart, bodyEnd}, {markerStart, throughEnd}};
  } else {
    candidates = {{bodyStart, bodyEnd}, {bodyStart, throughEnd}};
  }

  const Stretch* chosen = nullptr;
  for (const Stretch& candidate : candidates) {
    const std::string_view stretch = bytes.substr(candidate.begin, candidate.end - candidate.begin);
    const auto shown = kind_ == DataFileKind::History ? CutHistoryText(stretch) : CutMameinfoText(stretch);
    if (shown && *shown == expected) {
      chosen = &candidate;
      break;
    }
  }
  if (!chosen) {
    chosen = &candidates.front();
    const auto names = SplitNames(entry.names);
    result_.inexactNames.emplace_back(names.empty() ? entry.names : std::string(names.front()));
  }
  const DataReference reference{entry.start + chosen->begin + 1, chosen->end - chosen->begin};
  const std::uint64_t lastByte = reference.offset + reference.length - 1;
  if (lastByte > addressLimit_) {
    throw RunTimeError(ErrorCode::Overflow, fileName_ + ": the entry at line " + std::to_string(entry.lineNumber) +
                                                " ends at byte " + std::to_string(lastByte) + ", beyond byte " +
                                                std::to_string(addressLimit_) +
                                                ", the furthest the viewer can read; the file is too large");
  }
  Register(entry, reference);
}

void DatScanner::Register(const OpenEntry& entry, DataReference reference) {
  for (const std::string_view name : SplitNames(entry.names)) {
    const auto [where, added] = result_.references.try_emplace(std::string(name), reference);
    if (!added && std::find(result_.duplicateNames.begin(), result_.duplicateNames.end(), name) ==
                      result_.duplicateNames.end()) {
      result_.duplicateNames.emplace_back(name);
    }
  }
}

DataFileIndex ScanDataFile(std::string_view windowsPath, DataFileKind kind, std::uint64_t addressLimit,
                           const std::function<void(std::uint64_t, std::uint64_t)>& progress) {
  constexpr std::uint64_t kPiece = 4u << 20;
  const std::uint64_t size = FileLength(windowsPath);
  DatScanner scanner(kind, std::string(windowsPath), addressLimit);
  for (std::uint64_t done = 0; done < size;) {
    const std::string piece = ReadStretch(windowsPath, static_cast<std::int64_t>(done + 1),
                                          static_cast<std::int64_t>(std::min(kPiece, size - done)));
    if (piece.empty()) throw RunTimeError(ErrorCode::PathFileAccess, std::string(windowsPath) + ": cannot be read");
    scanner.Feed(piece);
    done += piece.size();
    if (progress) progress(done, size);
  }
  return scanner.Finish();
}

}  // namespace zorv::index
