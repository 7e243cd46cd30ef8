#include "record_writer.h"

#include <algorithm>

#include "platform/run_time_error.h"

namespace zorv::index {
namespace {

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; }

void AppendReference(std::string& line, const std::optional<DataReference>& reference) {
  line += std::to_string(reference->offset);
  line += ',';
  line += std::to_string(reference->length);
}

}  // namespace

std::string CleanTextValue(std::string_view value) {
  std::string clean(value);
  for (char& c : clean) {
    if (c == ';') c = ',';
    if (IsControl(c) || c == '\x7F') c = ' ';
  }
  return clean;
}

std::string CleanListValue(std::string_view value) {
  std::string clean = CleanTextValue(value);
  if (!clean.empty() && clean.front() == '[') clean.front() = '(';
  return clean;
}

bool IsWritableRomName(std::string_view name) {
  return !name.empty() && name.find_first_of(";\\/:") == std::string_view::npos &&
         name.find("..") == std::string_view::npos && std::none_of(name.begin(), name.end(), IsControl);
}

void IndexWriter::AddGame(const GameValues& game) {
  const std::string& name = game.romName;
  if (!IsWritableRomName(name)) {
    throw RunTimeError(ErrorCode::InvalidArgument, "the ROM name \"" + name + "\" cannot be written to an index");
  }
  if (!romNames_.insert(name).second) {
    throw RunTimeError(ErrorCode::InvalidArgument, "the ROM name \"" + name + "\" comes twice in the game list");
  }

  std::string& line = records_;
  line += name;
  // Text fields end at the next ";", so each is followed by another field.
  line += ";B" + CleanTextValue(game.title);
  line += ";S" + CleanTextValue(game.cloneOf);
  const std::array<const std::string*, kListCount> listValues = {
      &game.manufacturer, &game.year,  &game.orientation, &game.buttons,      &game.controls,
      &game.driverStatus, &game.genre, &game.category,    &game.versionAdded, &game.sourceFamily,
      &game.driver,       &game.players, &game.saveState};
  static constexpr std::string_view kListCodes = "CDEFGHIJKMNOV";
  for (std::size_t i = 0; i < kListCount; ++i) {
    line += ';';
    line += kListCodes[i];
    line += std::to_string(lists_[i].NumberOf(CleanListValue(*listValues[i])));
  }
  // Beyond the fields the viewer reads (it passes over other letters): the
  // game browser hides mechanical machines unless asked for.
  if (game.isMechanical) line += ";W1";
  line += game.hasCheat ? ";R1" : ";R0";
  line += game.isMature ? ";L1" : ";L#";
  line += game.hasHighscore ? ";P1" : ";P0";
  // Offset 0 tells the viewer there is no history; the length that follows ends
  // at the next ";".
  line += ";Q";
  if (game.history && game.history->offset > 0) {
    AppendReference(line, game.history);
  } else {
    line += "0,0";
  }
  // U runs to the end of the line. Without a "," the viewer reads no mameinfo;
  // an offset of 0 would make it fail, so none is ever written.
  line += ";U";
  if (game.mameinfo && game.mameinfo->offset > 0) AppendReference(line, game.mameinfo);
  if (game.romAvailable) line += '*';
  line += "\r\n";
}

std::string IndexWriter::Finish() const {
  std::string file = records_;
  for (std::size_t i = 0; i < kListCount; ++i) {
    file += kListHeaders[i];
    file += "\r\n";
    for (const std::string& value : lists_[i].Values()) {
      file += value;
      file += "\r\n";
    }
  }
  return file;
}

}  // namespace zorv::index
