#include "startup/error_log.h"

#include <ctime>
#include <string>

#include "platform/file_system.h"
#include "platform/regional_settings.h"

namespace zorv {

void WriteLog(SharedState& state, std::string_view message) {
  if (state.HeldLog) {
    state.HeldLog->append(message).append("\r\n");
    return;
  }
  const std::string path = state.ProgramFolder + "\\Zorv.Log.txt";
  if (!state.LogStarted) {
    AppendLine(path, DateAndTimeText(std::time(nullptr), UserRegionalSettings()));
    state.LogStarted = true;
  }
  AppendLine(path, message);
}

void LogError(SharedState& state, char letter, int number) noexcept {
  try {
    WriteLog(state, std::string("ERROR ") + letter + " - " + std::to_string(number));
  } catch (...) {
    // A log that cannot be written is not reported anywhere else.
  }
}

}  // namespace zorv
