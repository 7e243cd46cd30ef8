#include "stop_message.h"

#include <charconv>
#include <filesystem>
#include <string_view>
#include <utility>

#include "platform/cp1252.h"
#include "platform/file_system.h"
#include "platform/run_time_error.h"

namespace zorv {
namespace {

std::int64_t LengthOf(const std::string& path) {
  try {
    return FileExists(path) ? static_cast<std::int64_t>(FileLength(path)) : 0;
  } catch (const std::exception&) {
    return 0;
  }
}

// The last line of what the run appended: the run header comes first.
std::string LastLine(std::string_view appended) {
  while (appended.ends_with("\r\n")) appended.remove_suffix(2);
  const auto start = appended.rfind("\r\n");
  return std::string(start == std::string_view::npos ? appended : appended.substr(start + 2));
}

// "ERROR B - 53" gets the number's meaning: "ERROR B - 53 (file not found)".
std::string Explained(const std::string& line) {
  const auto dash = line.rfind(" - ");
  if (!line.starts_with("ERROR ") || dash == std::string::npos) return line;
  int number = 0;
  const char* last = line.data() + line.size();
  const auto [end, error] = std::from_chars(line.data() + dash + 3, last, number);
  const std::string_view meaning = ErrorDescription(number);
  if (error != std::errc{} || end != last || meaning.empty()) return line;
  return line + " (" + std::string(meaning) + ")";
}

}  // namespace

StopMessage::StopMessage(std::string program, const std::string& collectionFolder)
    : program_(std::move(program)), logPath_(collectionFolder + "\\Zorv.Log.txt"), lengthBefore_(LengthOf(logPath_)) {}

std::string StopMessage::Text() const {
  std::error_code ignored;
  const std::string shownPath = std::filesystem::absolute(ResolvePath(logPath_), ignored).string();
  const std::int64_t length = LengthOf(logPath_);
  std::string line;
  try {
    if (length > lengthBefore_) line = LastLine(ReadStretch(logPath_, lengthBefore_ + 1, length - lengthBefore_));
  } catch (const std::exception&) {
    line.clear();
  }
  if (line.empty()) return program_ + ": stopped; its log line could not be written to " + shownPath;
  if (!IsValidUtf8(line)) line = Cp1252ToUtf8(line);
  return program_ + ": " + Explained(line) + " (logged in " + shownPath + ")";
}

}  // namespace zorv
