#include "startup/startup.h"

#include <string>

#include "platform/file_system.h"
#include "platform/run_time_error.h"
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

// The configured index, else the data folder's, else the program folder's.
std::string FindIndexFile(const SharedState& state) {
  for (const std::string& candidate : {state.IndexPath, state.ProgramFolder + "\\datafiles\\index.",
                                       state.ProgramFolder + "\\index."}) {
    if (FileExists(candidate)) return candidate;
  }
  return {};
}

// The ROM name becomes part of file names (the pictures, the saved report). Real
// names never hold a folder separator, a drive's ":" or "..": such a name could
// reach outside its folder, so it is refused before any file is looked for.
void RequireNameOfOneFile(std::string_view romName) {
  if (romName.find_first_of("\\/:") != std::string_view::npos || romName.find("..") != std::string_view::npos) {
    throw RunTimeError(ErrorCode::BadFileNameOrNumber);
  }
}

StartupOutcome GatherGame(SharedState& state) {
  RequireNameOfOneFile(state.RomName);
  const std::string indexFile = FindIndexFile(state);
  if (indexFile.empty()) {
    WriteLog(state, kNoIndexMessage);
    return StartupOutcome::SilentStop;
  }
  state.RomKey = state.RomName + ";";
  {
    TextFileReader index = FindGameRecord(indexFile, state.RomKey, state);
    if (state.GameRecord.empty()) {
      WriteLog(state, "Can't find the rom '" + state.RomName + "' into the index. file.");
      return StartupOutcome::SilentStop;
    }
    ReadGameFields(index, state);
  }  // the index is closed before the data files are read
  ReadHistory(state);
  ReadMameinfo(state);
  state.NotesText = GetNotes(state, state.RomName);
  FindPictures(state);
  return StartupOutcome::GameSheet;
}

}  // namespace

StartupOutcome Main(SharedState& state, std::string_view commandText) {
  try {
    if (!TakeCommandLineApart(state, commandText)) {
      WriteLog(state, kRomNameEmptyMessage);
      return StartupOutcome::SilentStop;
    }
    state.Language = -1;
    LoadSiblingConfig(state);
    LoadConfig(state);
    if (state.Language == -1) state.Language = 1;
    if (state.ShowUsage) return StartupOutcome::UsageSheet;
    return GatherGame(state);
  } catch (const std::exception& failure) {
    LogError(state, 'B', ErrorNumberOf(failure));
    return StartupOutcome::SilentStop;
  }
}

}  // namespace zorv
