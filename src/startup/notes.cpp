#include "startup/notes.h"

#include "platform/file_system.h"
#include "platform/run_time_error.h"
#include "startup/collection_files.h"
#include "startup/basic_text.h"
#include "startup/error_log.h"

namespace zorv {

namespace {

// The lines after the first one that holds "[" + ROM name + "]", up to the
// next line that starts with "[" (blanks before it allowed), CR LF after each.
template <typename ReadLine>
void NotesSection(const std::string& romName, ReadLine readLine, std::string& notes) {
  const std::string key = "[" + romName + "]";
  bool inSection = false;
  std::string_view line;
  while (!inSection && readLine(line)) inSection = line.find(key) != std::string_view::npos;
  if (!inSection) return;
  while (readLine(line)) {
    const std::string_view start = TrimLeadingBlanks(line);
    if (!start.empty() && start.front() == '[') break;
    notes += line;
    notes += "\r\n";
  }
}

}  // namespace

std::string GetNotes(SharedState& state, const std::string& romName) {
  const auto exists = [&state](const std::string& candidate) {
    return state.Files != nullptr ? state.Files->DataFile(candidate) != nullptr : FileExists(candidate);
  };
  std::string path = state.ProgramFolder + "\\notes.txt";
  if (!exists(path)) path = state.ProgramFolder + "\\Datafiles\\notes.txt";
  if (!exists(path)) return {};

  std::string notes;
  try {
    if (state.Files != nullptr) {
      const std::vector<std::string_view> lines = SplitTextLines(*state.Files->DataFile(path));
      std::size_t next = 0;
      NotesSection(romName, [&](std::string_view& line) { return next < lines.size() && (line = lines[next++], true); },
                   notes);
    } else {
      TextFileReader file(path);
      std::string buffer;
      NotesSection(romName, [&](std::string_view& line) { return file.ReadLine(buffer) && (line = buffer, true); },
                   notes);
    }
  } catch (const std::exception& failure) {
    LogError(state, 'C', ErrorNumberOf(failure));
    return notes;
  }
  if (notes.size() >= 2 && notes.compare(notes.size() - 2, 2, "\r\n") == 0) notes.resize(notes.size() - 2);
  return notes;
}

}  // namespace zorv
