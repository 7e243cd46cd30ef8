#include "startup/data_entries.h"

#include "platform/file_system.h"
#include "startup/collection_files.h"
#include "startup/basic_text.h"
#include "startup/leading_number.h"

namespace zorv {
namespace {

bool DataFileExists(const SharedState& state, const std::string& path) {
  return state.Files != nullptr ? state.Files->DataFile(path) != nullptr : FileExists(path);
}

// The configured file, or the data folder's file of that name; which one was
// used is remembered, so a configuration written later holds it.
bool LocateDataFile(std::string& path, const SharedState& state, std::string_view fileName) {
  if (DataFileExists(state, path)) return true;
  path = state.ProgramFolder + "\\datafiles\\" + std::string(fileName);
  return DataFileExists(state, path);
}

// The entry from the file already read when a whole collection runs.
std::string ReadEntry(const SharedState& state, std::string_view path, std::int64_t offset, std::int64_t length) {
  if (state.Files != nullptr) return CutStretch(*state.Files->DataFile(path), offset, length);
  return ReadDataEntry(path, offset, length);
}

// The characters before `at` (1-based) less the CR LF that precedes it. A
// marker at the first or second character leaves nothing to drop: a failure.
std::string BeforeMarker(std::string_view text, std::size_t at) {
  return std::string(Left(text, static_cast<std::int64_t>(at) - 1 - 2));
}

}  // namespace

std::string ReadDataEntry(std::string_view path, std::int64_t offset, std::int64_t length) {
  return ReadStretch(path, offset, length);
}

std::int32_t ParseLength(std::string_view text) {
  if (!text.empty() && text.front() == '#') return 0;
  return ToLong(Left(text, static_cast<std::int64_t>(InStr(text, ";")) - 1));
}

std::optional<DataReference> HistoryReference(std::string_view record) {
  const std::string_view reference = Mid(record, InStr(record, ";Q") + 2);
  const std::int32_t offset = RoundToLong(LeadingNumber(reference));
  const std::size_t comma = InStr(reference, ",");
  if (offset == 0 || comma == 0) return std::nullopt;
  return DataReference{offset, ParseLength(Mid(reference, comma + 1))};
}

std::optional<DataReference> MameinfoReference(std::string_view record) {
  std::string_view reference = Mid(record, InStr(record, ";U") + 2);
  if (!reference.empty() && reference.back() == '*') reference.remove_suffix(1);
  const std::size_t comma = InStr(reference, ",");
  if (comma == 0) return std::nullopt;
  return DataReference{ToLong(Left(reference, static_cast<std::int64_t>(comma) - 1)),
                       RoundToLong(LeadingNumber(Mid(reference, comma + 1)))};
}

std::string FindDataFile(const SharedState& state, const std::string& configured, std::string_view fileName) {
  std::string path = configured;
  return LocateDataFile(path, state, fileName) ? path : std::string();
}

void ReadHistory(SharedState& state) {
  const auto reference = HistoryReference(state.GameRecord);
  if (!reference) return;
  if (!LocateDataFile(state.HistoryPath, state, "history.dat")) return;

  std::string entry = ReadEntry(state, state.HistoryPath, reference->Offset, reference->Length);
  if (const std::size_t bio = InStr(entry, "$bio"); bio != 0) entry = std::string(Mid(entry, bio + 6));
  const std::size_t end = InStr(entry, "$end");
  state.HistoryText = end != 0 ? BeforeMarker(entry, end) : entry;
}

void ReadMameinfo(SharedState& state) {
  const std::string_view field = Mid(state.GameRecord, InStr(state.GameRecord, ";U") + 2);
  state.RomAvailable = !field.empty() && field.back() == '*';
  const auto reference = MameinfoReference(state.GameRecord);
  if (!reference) return;
  if (!LocateDataFile(state.MameinfoPath, state, "mameinfo.dat")) return;

  std::string entry = ReadEntry(state, state.MameinfoPath, reference->Offset, reference->Length);
  if (const std::size_t mame = InStr(entry, "$mame"); mame != 0) entry = "MAME v" + std::string(Mid(entry, mame + 7));
  const std::size_t end = InStrRev(entry, "$end");
  state.MameinfoText = end != 0 ? BeforeMarker(entry, end) : entry;
}

}  // namespace zorv
