#include "startup/startup.h"

#include <string>

#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "startup/collection_files.h"
#include "startup/command_line.h"
#include "startup/configuration.h"
#include "startup/data_entries.h"
#include "startup/error_log.h"
#include "startup/game_index.h"
#include "startup/notes.h"
#include "startup/pictures.h"

namespace zorv {
namespace {

constexpr std::string_view kNoIndexMessage = "Can't find the index. file. Please use Quorbis to create it. [END]";

bool ReportMissingRom(SharedState& state) {
  if (!state.GameRecord.empty()) return false;
  WriteLog(state, "Can't find the rom '" + state.RomName + "' into the index. file.");
  return true;
}

// The record and its fields, from the index file or, in a run over the whole
// collection, from the index already read.
bool ReadRecord(SharedState& state) {
  if (state.Files != nullptr) {
    state.GameRecord = state.Files->FindRecord(state.RomKey);
    if (ReportMissingRom(state)) return false;
    ReadGameFields(*state.Files->Lists(), state);
    return true;
  }
  TextFileReader index = FindGameRecord(FindIndexFile(state), state.RomKey, state);
  if (ReportMissingRom(state)) return false;
  ReadGameFields(index, state);
  return true;  // the index is closed before the data files are read
}

// The ROM name becomes part of file names (the pictures, the saved report). Real
// names never hold a folder separator, a drive's ":" or "..": such a name could
// reach outside its folder, so it is refused before any file is looked for.
void RequireNameOfOneFile(std::string_view romName) {
  if (!IsNameOfOneFile(romName)) throw RunTimeError(ErrorCode::BadFileNameOrNumber);
}

StartupOutcome GatherGame(SharedState& state) {
  RequireNameOfOneFile(state.RomName);
  const std::string indexFile = state.Files != nullptr ? state.Files->IndexFile() : FindIndexFile(state);
  if (indexFile.empty()) {
    WriteLog(state, kNoIndexMessage);
    return StartupOutcome::SilentStop;
  }
  state.RomKey = state.RomName + ";";
  if (!ReadRecord(state)) return StartupOutcome::SilentStop;
  ReadHistory(state);
  ReadMameinfo(state);
  state.NotesText = GetNotes(state, state.RomName);
  FindPictures(state);
  return StartupOutcome::GameSheet;
}

}  // namespace

void LoadConfiguration(SharedState& state) {
  state.Language = -1;
  LoadSiblingConfig(state);
  LoadConfig(state);
  if (state.Language == -1) state.Language = 1;
}

StartupOutcome MainForGame(SharedState& state, std::string_view romName) {
  try {
    state.RomName = std::string(romName);
    return GatherGame(state);
  } catch (const std::exception& failure) {
    LogError(state, 'B', ErrorNumberOf(failure));
    return StartupOutcome::SilentStop;
  }
}

StartupOutcome Main(SharedState& state, std::string_view commandText) {
  try {
    if (!TakeCommandLineApart(state, commandText)) {
      WriteLog(state, kRomNameEmptyMessage);
      return StartupOutcome::SilentStop;
    }
    LoadConfiguration(state);
    if (state.ShowUsage) return StartupOutcome::UsageSheet;
    return GatherGame(state);
  } catch (const std::exception& failure) {
    LogError(state, 'B', ErrorNumberOf(failure));
    return StartupOutcome::SilentStop;
  }
}

}  // namespace zorv
