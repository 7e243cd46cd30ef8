#include "rom_folder.h"

#include <filesystem>

#include "platform/ascii_case.h"
#include "platform/file_system.h"
#include "platform/run_time_error.h"

namespace zorv::index {

RomFolder::RomFolder(const std::vector<std::string>& windowsPaths) {
  for (const std::string& path : windowsPaths) List(path);
}

void RomFolder::List(std::string_view windowsPath) {
  namespace fs = std::filesystem;
  const fs::path folder = ResolvePath(windowsPath);
  std::error_code error;
  if (!fs::is_directory(folder, error)) {
    throw RunTimeError(ErrorCode::PathFileAccess, std::string(windowsPath) + ": not a folder");
  }
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = LowerCase(it->path().filename().string());
    if (it->is_directory(error)) {
      sets_.insert(name);
      continue;
    }
    for (const std::string_view extension : {".zip", ".7z"}) {
      if (name.size() > extension.size() && name.ends_with(extension)) {
        sets_.insert(name.substr(0, name.size() - extension.size()));
      }
    }
  }
  if (error) throw RunTimeError(ErrorCode::PathFileAccess, std::string(windowsPath) + ": cannot be listed");
}

bool RomFolder::Has(std::string_view romName) const { return sets_.contains(LowerCase(romName)); }

}  // namespace zorv::index
