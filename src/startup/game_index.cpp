#include "startup/game_index.h"

#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "startup/basic_text.h"
#include "startup/error_log.h"
#include "startup/leading_number.h"

namespace zorv {
namespace {

// The text after the first `code`, up to the next ";". A field that is not
// followed by a ";" is a failure (the cut gets a negative length).
std::string TextField(std::string_view record, std::size_t codeAt) {
  const std::string_view rest = Mid(record, codeAt + 2);
  return std::string(Left(rest, static_cast<std::int64_t>(InStr(rest, ";")) - 1));
}

// The S field at `codeAt` without "#CL".
std::string CloneOf(std::string_view record, std::size_t codeAt) {
  return ReplaceAll(TextField(record, codeAt), "#CL", "");
}

// The one character after the code at `codeAt`; without the field, the
// record's second character.
std::string_view FlagField(std::string_view record, std::size_t codeAt) { return Mid(record, codeAt + 2, 1); }

// The lists of the open index file, read line by line.
class FileLists final : public IndexLists {
 public:
  explicit FileLists(TextFileReader& index) : index_(index) {}

  std::string NextListValue(std::int32_t wanted) override {
    std::string value;
    std::int64_t count = 0;
    bool taken = false;
    for (std::string line; index_.ReadLine(line);) {
      ++count;
      // The value test comes first: a number that lands on the next header
      // line takes the header line itself.
      if (!taken && count == wanted) {
        value = line;
        taken = true;
      }
      if (IsListHeader(line)) break;
    }
    return value;
  }

 private:
  TextFileReader& index_;
};

}  // namespace

bool IsListHeader(std::string_view line) { return !line.empty() && line.front() == '[' && line.back() == ']'; }

std::string FindIndexFile(const SharedState& state) {
  for (const std::string& candidate : {state.IndexPath, state.ProgramFolder + "\\datafiles\\index.",
                                       state.ProgramFolder + "\\index."}) {
    if (FileExists(candidate)) return candidate;
  }
  return {};
}

TextFileReader FindGameRecord(std::string_view indexPath, std::string_view romKey, SharedState& state) {
  TextFileReader index(indexPath);
  state.GameRecord.clear();
  std::string line;
  bool found = false;
  while (index.ReadLine(line)) {
    if (line == kListsHeader) break;
    if (!found && line.compare(0, romKey.size(), romKey) == 0) {
      state.GameRecord = line;
      found = true;
    }
  }
  return index;
}

std::string GetListField(std::string_view code, const FieldCodes& fields, IndexLists& lists, SharedState& state) {
  std::string value;
  try {
    const std::size_t at = fields.Find(code);
    if (at == 0) return value;
    const std::int32_t wanted = RoundToLong(LeadingNumber(Mid(state.GameRecord, at + 2)));
    value = lists.NextListValue(wanted);
  } catch (const std::exception& failure) {
    LogError(state, 'D', ErrorNumberOf(failure));
    value.clear();
  }
  return value;
}

std::string CloneOfField(std::string_view record) { return CloneOf(record, InStr(record, ";S")); }

void ReadGameFields(TextFileReader& index, SharedState& state) {
  FileLists lists(index);
  ReadGameFields(static_cast<IndexLists&>(lists), state);
}

void ReadGameFields(IndexLists& index, SharedState& state) {
  const std::string& record = state.GameRecord;
  const FieldCodes fields(record);
  state.GameTitle = TextField(record, fields.Find(";B"));
  state.CloneOf = CloneOf(record, fields.Find(";S"));

  std::string* const lists[] = {&state.Manufacturer, &state.Year,         &state.Orientation, &state.Buttons,
                                &state.Controls,     &state.DriverStatus, &state.Genre,       &state.Category,
                                &state.VersionAdded, nullptr,             &state.Driver,      &state.Players,
                                &state.SaveState};
  constexpr std::string_view codes[] = {";C", ";D", ";E", ";F", ";G", ";H", ";I",
                                        ";J", ";K", ";M", ";N", ";O", ";V"};
  for (std::size_t i = 0; i < std::size(codes); ++i) {
    std::string value = GetListField(codes[i], fields, index, state);
    if (lists[i] != nullptr) *lists[i] = std::move(value);  // list 10 is only passed over
  }

  if (FlagField(record, fields.Find(";R")) == "1") state.HasCheat = true;
  if (FlagField(record, fields.Find(";L")) != "#") state.IsMature = true;
  if (FlagField(record, fields.Find(";P")) == "1") state.HasHighscore = true;
}

}  // namespace zorv
