#include "window/collection_games.h"

#include <new>

#include "platform/cp1252.h"
#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "startup/game_index.h"
#include "startup/startup.h"

namespace zorv {
namespace {

std::string Shown(const std::string& windowsPath) { return Cp1252ToUtf8(ResolvePath(windowsPath).string()); }

std::string MakeAgain() { return std::string("\n\nMake it again from your emulator's set-up with:\n\n    ") + kMakeCollectionCommand; }

}  // namespace

CollectionGames OpenCollection(const std::string& programFolder) {
  CollectionGames opened{programFolder, std::nullopt, 0, {}};
  SharedState state;
  state.ProgramFolder = programFolder;
  // Start-up on an empty command line loads the configuration and stops there.
  if (Main(state, "") == StartupOutcome::SilentStop) {
    opened.Message = "The configuration in " + Shown(programFolder) +
                     " cannot be read: Zorv.Log.txt there tells why.";
    return opened;
  }
  const std::string indexFile = FindIndexFile(state);
  if (indexFile.empty()) {
    opened.Message = "There is no game collection in " + Shown(programFolder) +
                     " yet.\n\nMake one from your emulator's set-up with:\n\n    " + kMakeCollectionCommand +
                     "\n\nthen open Zorvane again.";
    return opened;
  }
  GameList list;
  try {
    list = ReadGameList(indexFile);
  } catch (const std::exception& failure) {
    const int number = ErrorNumberOf(failure);
    const std::string reason = number == static_cast<int>(ErrorCode::OutOfMemory)
                                   ? "it is larger than any game index"
                                   : std::string(ErrorDescription(number));
    opened.Message = "The game index " + Shown(indexFile) + " cannot be read" +
                     (reason.empty() ? "" : " (" + reason + ")") + "." + MakeAgain();
    return opened;
  }
  if (list.Games.empty()) {
    opened.Message = "The game index " + Shown(indexFile) +
                     (list.UnreadableRecords == 0 ? " holds no games."
                                                  : " is damaged: none of its " +
                                                        std::to_string(list.UnreadableRecords) +
                                                        " game records can be read.") +
                     MakeAgain();
    return opened;
  }
  opened.UnreadableRecords = list.UnreadableRecords;
  if (list.UnreadableRecords > 0) {
    const bool one = list.UnreadableRecords == 1;
    opened.Message = std::to_string(list.UnreadableRecords) + (one ? " game record of " : " game records of ") +
                     Shown(indexFile) + (one ? " cannot be read and is not listed." : " cannot be read and are not listed.");
  }
  try {
    opened.Games.emplace(std::move(list.Games));
  } catch (const std::bad_alloc&) {
    opened.Message = "There is not enough memory to list the games of " + Shown(indexFile) + ".";
  }
  return opened;
}

}  // namespace zorv
