#include "rom_path_arguments.h"

#include <filesystem>

#include "platform/ascii_case.h"
#include "platform/run_time_error.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

constexpr const char* kWhatToDo = "; give the game's ROM name, or the path of its .zip or .7z";

bool IsPath(const std::string& argument) { return argument.find('/', 1) != std::string::npos; }

bool HasRomFileExtension(const std::string& argument) {
  const std::string lower = LowerCase(argument);
  return lower.ends_with(".zip") || lower.ends_with(".7z");
}

}  // namespace

std::vector<std::string> TakeRomPaths(std::vector<std::string> arguments) {
  for (std::string& argument : arguments) {
    if (!IsPath(argument)) continue;
    std::error_code error;
    const fs::file_status status = fs::status(argument, error);
    if (fs::is_regular_file(status)) {
      argument = fs::path(argument).stem().string();
    } else if (fs::is_directory(status)) {
      throw RunTimeError(ErrorCode::BadFileNameOrNumber, argument + ": is a folder, not a ROM file" + kWhatToDo);
    } else if (!fs::exists(status) && HasRomFileExtension(argument)) {
      throw RunTimeError(ErrorCode::FileNotFound, argument + ": no such file" + kWhatToDo);
    }
  }
  return arguments;
}

}  // namespace zorv
