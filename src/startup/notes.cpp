#include "startup/notes.h"

#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "startup/basic_text.h"
#include "startup/error_log.h"

namespace zorv {

std::string GetNotes(SharedState& state, const std::string& romName) {
  std::string path = state.ProgramFolder + "\\notes.txt";
  if (!FileExists(path)) path = state.ProgramFolder + "\\Datafiles\\notes.txt";
  if (!FileExists(path)) return {};

  std::string notes;
  try {
    const std::string key = "[" + romName + "]";
    TextFileReader file(path);
    std::string line;
    bool inSection = false;
    while (!inSection && file.ReadLine(line)) inSection = line.find(key) != std::string::npos;
    if (!inSection) return {};
    while (file.ReadLine(line)) {
      const std::string_view start = TrimLeadingBlanks(line);
      if (!start.empty() && start.front() == '[') break;
      notes += line;
      notes += "\r\n";
    }
  } catch (const std::exception& failure) {
    LogError(state, 'C', ErrorNumberOf(failure));
    return notes;
  }
  if (notes.size() >= 2 && notes.compare(notes.size() - 2, 2, "\r\n") == 0) notes.resize(notes.size() - 2);
  return notes;
}

}  // namespace zorv
